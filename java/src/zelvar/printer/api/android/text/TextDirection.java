// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

/** The direction of a receipt: the side its lines start at and the side its amounts end at. */
public enum TextDirection {
    /** Set by the first strong character of the first line that has one. */
    FROM_TEXT,
    /** Lines start at the left edge, amounts at the right. */
    LEFT_TO_RIGHT,
    /** Lines start at the right edge, amounts at the left. */
    RIGHT_TO_LEFT
}
