// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.io.ByteArrayOutputStream;

/** A growable byte buffer for printer commands, whose writes cannot fail. */
final class Bytes extends ByteArrayOutputStream {
    Bytes(int capacity) { super(capacity); }

    void write(byte b) { write((int) b); }

    @Override
    public void write(byte[] bytes) {
        write(bytes, 0, bytes.length);
    }

    void write(Bytes other) { write(other.buf, 0, other.count); }

    /** The buffer itself, valid up to {@link #size()}. */
    byte[] data() { return buf; }
}
