// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.io.ByteArrayOutputStream;
import java.nio.charset.StandardCharsets;
import java.util.Base64;

/**
 * The QR code payload that a Saudi simplified tax invoice carries: five fields as tag, length and
 * value records (one byte each for tag and length, the value in UTF-8), the whole in base64.
 */
public final class SaudiInvoiceQr {
    private SaudiInvoiceQr() {}

    /**
     * The payload of the five fields, tags 1 to 5 in this order.
     *
     * @param seller the seller's name, as on the invoice (Arabic is fine)
     * @param vatNumber the seller's VAT registration number
     * @param timestamp the invoice's date and time, ISO 8601 (for example {@code
     *     2026-12-09T10:30:00Z})
     * @param total the invoice total with VAT, as printed (for example {@code 115.00})
     * @param vat the VAT total (for example {@code 15.00})
     * @return the base64 text to encode in the QR code
     * @throws IllegalArgumentException naming the field: a null or empty field, or one longer than
     *     255 bytes in UTF-8
     */
    public static String payload(
        String seller, String vatNumber, String timestamp, String total, String vat) {
        String[] names = {"seller", "VAT number", "time stamp", "total", "VAT"};
        String[] values = {seller, vatNumber, timestamp, total, vat};
        ByteArrayOutputStream tlv = new ByteArrayOutputStream();
        for (int i = 0; i < values.length; ++i) {
            if (values[i] == null || values[i].isEmpty()) {
                throw new IllegalArgumentException("invoice QR " + names[i] + ": empty");
            }
            byte[] value = values[i].getBytes(StandardCharsets.UTF_8);
            if (value.length > 255) {
                throw new IllegalArgumentException(
                    "invoice QR " + names[i] + ": " + value.length + " bytes, more than 255");
            }
            tlv.write(i + 1); // tag
            tlv.write(value.length); // length
            tlv.write(value, 0, value.length);
        }
        return Base64.getEncoder().encodeToString(tlv.toByteArray());
    }
}
