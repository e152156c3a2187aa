// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.io.ByteArrayOutputStream;

/**
 * A picture (a logo, a signature) turned into the printer's one-bit raster, printed with {@code
 * GS v 0}.
 *
 * <p>The pixels come as ARGB integers, as Android's {@code Bitmap.getPixels} and most image
 * decoders give them. Transparent pixels count as white paper. The picture is scaled to the
 * width asked for (each printed dot averages the pixels it covers), then each dot is black or
 * white by a threshold or by error diffusion, which renders grey as a pattern of dots.
 *
 * <p>A tall picture is sent in bands of at most {@value #MAX_BAND_BYTES} bytes, so that printers
 * with small receive buffers keep up; the bands print without a gap between them.
 *
 * <p>Instances are immutable.
 */
public final class RasterImage {
    /** How grey becomes black and white. */
    public enum Dither {
        /** Darker than half is black: crisp for line art and text. */
        THRESHOLD,
        /** Floyd-Steinberg error diffusion: shades for photographs and soft logos. */
        ERROR_DIFFUSION
    }

    /** The most bytes of one {@code GS v 0} command. */
    public static final int MAX_BAND_BYTES = 8192;

    /** The largest picture the class takes, in pixels (width times height). */
    public static final int MAX_PIXELS = 1 << 24;

    private static final int GS = EscPos.GS;
    private static final int RASTER = 'v'; // GS v 0 m xL xH yL yH d... : print a raster image

    private final int width;
    private final int height;
    private final byte[] rows; // one bit a dot, the leftmost dot in the high bit, rows padded

    private RasterImage(int width, int height, byte[] rows) {
        this.width = width;
        this.height = height;
        this.rows = rows;
    }

    /**
     * Scales a picture to a width in dots and makes it one bit deep.
     *
     * @param argb the pixels, row by row, {@code width * height} of them
     * @param width the picture's width in pixels
     * @param height the picture's height in pixels
     * @param widthDots the printed width, 1 to 65,535 dots (usually at most the paper's width);
     *     the height follows the picture's proportions
     * @param dither how grey becomes black and white
     * @return the raster
     * @throws IllegalArgumentException if the pixels are null or fewer than {@code width *
     *     height}, a dimension is not positive, the picture holds more than {@value #MAX_PIXELS}
     *     pixels, the width in dots is out of range, the scaled height would exceed 65,535 dots,
     *     or the dither is null
     */
    public static RasterImage of(int[] argb, int width, int height, int widthDots, Dither dither) {
        if (width <= 0 || height <= 0 || (long) width * height > MAX_PIXELS) {
            throw new IllegalArgumentException("picture size " + width + " x " + height);
        }
        if (argb == null || argb.length < width * height) {
            throw new IllegalArgumentException("picture pixels: fewer than " + width * height);
        }
        if (widthDots < 1 || widthDots > 0xFFFF) {
            throw new IllegalArgumentException("picture width out of 1..65535 dots: " + widthDots);
        }
        if (dither == null) throw new IllegalArgumentException("picture dither: null");
        long scaledHeight = Math.max(1, Math.round((double) height * widthDots / width));
        if (scaledHeight > 0xFFFF || scaledHeight * widthDots > MAX_PIXELS) {
            throw new IllegalArgumentException("picture too tall at " + widthDots + " dots wide");
        }
        int h = (int) scaledHeight;
        float[] grey = scaled(argb, width, height, widthDots, h);
        return new RasterImage(widthDots, h, oneBit(grey, widthDots, h, dither));
    }

    /** Grey levels (0 black, 255 white) of the scaled picture: each dot averages what it covers. */
    private static float[] scaled(int[] argb, int w, int h, int tw, int th) {
        float[] grey = new float[tw * th];
        for (int ty = 0; ty < th; ++ty) {
            int y0 = (int) ((long) ty * h / th);
            int y1 = Math.max(y0 + 1, (int) ((long) (ty + 1) * h / th));
            for (int tx = 0; tx < tw; ++tx) {
                int x0 = (int) ((long) tx * w / tw);
                int x1 = Math.max(x0 + 1, (int) ((long) (tx + 1) * w / tw));
                float sum = 0;
                for (int y = y0; y < y1; ++y) {
                    for (int x = x0; x < x1; ++x) sum += luminance(argb[y * w + x]);
                }
                grey[ty * tw + tx] = sum / ((y1 - y0) * (x1 - x0));
            }
        }
        return grey;
    }

    /** The pixel's lightness over white paper. */
    private static float luminance(int argb) {
        int a = argb >>> 24;
        float r = (argb >> 16) & 0xFF;
        float g = (argb >> 8) & 0xFF;
        float b = argb & 0xFF;
        float y = 0.299f * r + 0.587f * g + 0.114f * b;
        return (y * a + 255f * (255 - a)) / 255f;
    }

    private static byte[] oneBit(float[] grey, int w, int h, Dither dither) {
        int stride = (w + 7) / 8;
        byte[] rows = new byte[stride * h];
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                float old = grey[y * w + x];
                boolean black = old < 128f;
                if (black) rows[y * stride + x / 8] |= (byte) (0x80 >>> (x % 8));
                if (dither != Dither.ERROR_DIFFUSION) continue;
                float error = old - (black ? 0f : 255f);
                spread(grey, w, h, x + 1, y, error * 7 / 16);
                spread(grey, w, h, x - 1, y + 1, error * 3 / 16);
                spread(grey, w, h, x, y + 1, error * 5 / 16);
                spread(grey, w, h, x + 1, y + 1, error / 16);
            }
        }
        return rows;
    }

    private static void spread(float[] grey, int w, int h, int x, int y, float error) {
        if (x >= 0 && x < w && y < h) grey[y * w + x] += error;
    }

    /** @return the printed width in dots */
    public int widthDots() { return width; }

    /** @return the printed height in dots */
    public int heightDots() { return height; }

    /**
     * @param x a dot column, 0 to width - 1
     * @param y a dot row, 0 to height - 1
     * @return whether that dot is black
     * @throws IndexOutOfBoundsException if the dot lies outside the picture
     */
    public boolean isBlack(int x, int y) {
        if (x < 0 || x >= width || y < 0 || y >= height) {
            throw new IndexOutOfBoundsException("dot " + x + ", " + y);
        }
        return (rows[y * ((width + 7) / 8) + x / 8] & (0x80 >>> (x % 8))) != 0;
    }

    /**
     * The raster commands, in bands, printed at the current justification.
     *
     * @return the command bytes
     */
    public byte[] toBytes() {
        int stride = (width + 7) / 8;
        int band = Math.max(1, MAX_BAND_BYTES / stride);
        ByteArrayOutputStream out =
            new ByteArrayOutputStream(rows.length + 8 * (height / band + 1));
        for (int y = 0; y < height; y += band) {
            int n = Math.min(band, height - y);
            out.write(GS);
            out.write(RASTER); // GS v 0 m xL xH yL yH : raster image, normal size
            out.write('0');
            out.write(0);
            out.write(stride & 0xFF);
            out.write(stride >>> 8);
            out.write(n & 0xFF);
            out.write(n >>> 8);
            out.write(rows, y * stride, n * stride);
        }
        return out.toByteArray();
    }
}
