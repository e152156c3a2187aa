// SPDX-License-Identifier: Apache-2.0
package zelvar.examples;

import java.io.IOException;
import zelvar.printer.api.android.text.Barcode;
import zelvar.printer.api.android.text.PrinterProfile;
import zelvar.printer.api.android.text.QrCode;
import zelvar.printer.api.android.text.RasterImage;
import zelvar.printer.api.android.text.ReceiptEncoder;
import zelvar.printer.api.android.text.SaudiInvoiceQr;
import zelvar.printer.api.android.text.TextStyle;

/**
 * A Saudi simplified tax invoice built in one chain of calls: a logo, a double-size Arabic
 * heading, rows, the invoice QR code, a barcode of the invoice number and the cut. Writes the
 * printer's bytes to standard output.
 */
public final class InvoiceExample {
    private InvoiceExample() {}

    public static void main(String[] args) throws IOException {
        int logoSize = 120;
        byte[] bytes = new ReceiptEncoder(PrinterProfile.forModel("epson-tm-t88vi"), 1256, 13)
                           .addImage(RasterImage.of(logo(logoSize), logoSize, logoSize, logoSize,
                               RasterImage.Dither.ERROR_DIFFUSION))
                           .style(TextStyle.NORMAL.doubleSize().bold())
                           .addCenteredLine("مقهى الواحة")
                           .style(TextStyle.NORMAL)
                           .addCenteredLine("فاتورة ضريبية مبسطة")
                           .addCenteredLine("الرقم الضريبي 310122393500003")
                           .addRule()
                           .addRow("قهوة عربية × 2", "30.00")
                           .addRow("تمر سكري", "45.00")
                           .addRow("كعك بالسمسم", "25.00")
                           .addRule()
                           .addRow("ضريبة القيمة المضافة 15%", "15.00")
                           .style(TextStyle.NORMAL.bold())
                           .addRow("الإجمالي", "115.00")
                           .style(TextStyle.NORMAL)
                           .addQrCode(QrCode.of(SaudiInvoiceQr.payload("مقهى الواحة",
                               "310122393500003", "2026-12-09T10:30:00Z", "115.00", "15.00")))
                           .addBarcode(Barcode.of(Barcode.Symbology.CODE128, "INV-2026-0042"))
                           .addCenteredLine("شكراً لزيارتكم")
                           .addFeed(3)
                           .addCut(true)
                           .toBytes();
        System.out.write(bytes);
        System.out.flush();
    }

    /** A round logo: a ring around a disc shaded from dark to light. */
    static int[] logo(int size) {
        int[] pixels = new int[size * size];
        double r = size / 2.0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                double d = Math.hypot(x + 0.5 - r, y + 0.5 - r);
                int grey = 255;
                if (d < r && d > r - 8) {
                    grey = 0;
                } else if (d < r - 14) {
                    grey = (int) (60 + 160.0 * y / size);
                }
                pixels[y * size + x] = 0xFF000000 | grey * 0x010101;
            }
        }
        return pixels;
    }
}
