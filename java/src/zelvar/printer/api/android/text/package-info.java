// SPDX-License-Identifier: Apache-2.0
/**
 * Receipt text to printer bytes in one call, on top of the native methods of {@link
 * zelvar.printer.api.android.nat.nativef}.
 *
 * <p>{@link zelvar.printer.api.android.text.ReceiptEncoder} wraps, reorders and encodes lines,
 * two-column rows, rules and feeds for one {@link zelvar.printer.api.android.text.PrinterProfile},
 * code page, font width and paper width; {@link zelvar.printer.api.android.text.EncodeReceipt} is
 * its command line. The code is plain Java that runs unchanged on Android.
 */
package zelvar.printer.api.android.text;
