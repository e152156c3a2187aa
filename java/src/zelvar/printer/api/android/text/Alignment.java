// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

/** Where a QR code, a barcode or a picture stands across the paper. */
public enum Alignment {
    /** At the paper's left edge. */
    LEFT,
    /** Centred. */
    CENTER,
    /** At the paper's right edge. */
    RIGHT
}
