#!/bin/bash
# SPDX-License-Identifier: Apache-2.0
# Regenerates the printer-model tables into a temporary folder and fails (exit 1) when the
# committed ones differ from what the generator makes of the pinned printer database.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"

if [ ! -f "$here/node_modules/@point-of-sale/receipt-printer-encoder/package.json" ]; then
    npm ci --prefix "$here" --no-audit --no-fund --loglevel=error
fi

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
node "$here/generate.mjs" "$tmp" >/dev/null

status=0
for table in java/src/zelvar/printer/api/android/text/PrinterModels.java \
    tools/preview/printer_models.h; do
    if ! diff -u "$repo/$table" "$tmp/$table"; then
        echo "printer table check: $table is not what tools/printerdb/generate.mjs makes"
        status=1
    fi
done
exit $status
