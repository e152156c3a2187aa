#!/bin/bash
# SPDX-License-Identifier: Apache-2.0
# Regenerates the glyph tables into a temporary folder and fails (exit 1) when the committed
# fonts/glyphs_*.cpp or fonts/glyph_runs_narrow.cpp differ from what the generator makes of the pinned sources.
#
# Needs the Debian packages python3-freetype python3-pil python3-fonttools fonts-noto-core
# fonts-noto-cjk fonts-unifont fonts-dejavu-core, and npm for the pinned Noto Sans Arabic build.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"

if [ ! -f "$here/node_modules/@fontsource/noto-sans-arabic/package.json" ]; then
    npm ci --prefix "$here" --no-audit --no-fund --loglevel=error
fi

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

/usr/bin/python3 "$here/fontgen.py" --out "$tmp" --quiet

status=0
for table in glyph_runs_narrow.cpp glyphs_10x24.cpp glyphs_13x24.cpp glyphs_18x24.cpp \
    glyphs_24x24.cpp; do
    committed="$repo/fonts/$table"
    if [ ! -f "$committed" ]; then
        echo "fontgen check: fonts/$table is missing"
        status=1
        continue
    fi
    if ! cmp -s "$tmp/$table" "$committed"; then
        status=1
        changed="$(diff "$committed" "$tmp/$table" | grep -c '^[<>]' || true)"
        glyphs="$(diff "$committed" "$tmp/$table" | grep '^>' | grep -o '// U+[0-9A-F]*$' |
            sed 's|// ||' | head -n 12 | tr '\n' ' ' || true)"
        echo "fontgen check: fonts/$table differs from the regenerated table" \
            "($changed lines; changed glyphs: ${glyphs:-none, only the header or runs})"
    fi
done

if [ "$status" -ne 0 ]; then
    echo "fontgen check: FAILED. Regenerate with: /usr/bin/python3 tools/fontgen/fontgen.py"
    exit 1
fi
echo "fontgen check: the committed glyph tables are current"
/usr/bin/python3 "$here/measure.py" --tables "$repo/fonts"
