// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.io.PrintStream;
import java.nio.ByteBuffer;
import java.nio.CharBuffer;
import java.nio.charset.CharsetDecoder;
import java.nio.charset.CoderResult;
import java.nio.charset.CodingErrorAction;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.nio.file.StandardCopyOption;
import java.nio.file.StandardOpenOption;

/**
 * The receipt encoder from the command line: a UTF-8 text file in, the printer's bytes out.
 *
 * <pre>
 * encode-receipt [--profile reference|clone58 | --printer MODEL] [--code-page CP|auto]
 *                [--width 10|13|18|24] [--paper DOTS] [--center] [--fixed-cells] [--stats]
 *                [-o OUTPUT] INPUT
 * encode-receipt --list-printers
 * </pre>
 *
 * <p>{@code --printer} takes a model of the public printer database ({@code --list-printers}
 * lists them: id, name, dots per inch, paper width in dots, and the code tables it has for the
 * code pages the library serves); the paper width is then the model's unless {@code --paper}
 * gives one. {@code --code-page auto} lets the encoder choose the code page for the receipt.
 * {@code --fixed-cells} prints drawn Arabic in the font's fixed cells instead of at its natural
 * width.
 *
 * <p>INPUT is a file or {@code -} for standard input; the bytes go to OUTPUT, or to standard
 * output when it is {@code -} or not given. Each input line is one paragraph; a TAB makes it a row
 * (label, then amount); an empty line feeds one line. Characters that cannot be printed are
 * listed on standard error as warnings. Bad input (an unknown option or value, invalid UTF-8, an
 * unreadable or unwritable file) ends the run with one line on standard error and status 2, and
 * leaves no output file behind.
 */
public final class EncodeReceipt {
    /** Exit status for bad input. */
    public static final int BAD_INPUT = 2;

    // 80 mm paper at 203 dpi, when neither the options nor the printer give a width.
    private static final int DEFAULT_PAPER = 576;

    private EncodeReceipt() {}

    /**
     * Runs the command line and exits with its status.
     *
     * @param args the options and the input, as {@code --help} of the class comment lists them
     */
    public static void main(String[] args) {
        System.exit(run(args, System.in, System.out, System.err));
    }

    /** A refusal of the run, with the one line that explains it. */
    private static final class BadInput extends Exception {
        private static final long serialVersionUID = 1L;

        BadInput(String message) { super(message); }
    }

    /**
     * Runs the command.
     *
     * @param args the options and the input
     * @param stdin what {@code -} reads
     * @param stdout where the bytes go without {@code -o}, and the list of printers
     * @param err where warnings and the one line of a refusal go
     * @return 0, or {@link #BAD_INPUT} for bad input, with nothing written
     */
    public static int run(String[] args, InputStream stdin, OutputStream stdout, PrintStream err) {
        try {
            return encode(args, stdin, stdout, err);
        } catch (BadInput e) {
            err.println("encode-receipt: " + e.getMessage());
            return BAD_INPUT;
        }
    }

    private static int encode(
        String[] args, InputStream stdin, OutputStream stdout, PrintStream err) throws BadInput {
        String profileName = PrinterProfile.REFERENCE.name();
        String model = null;
        int codePage = 1256;
        int width = 13;
        int paper = 0;
        boolean center = false;
        boolean stats = false;
        boolean fixedCells = false;
        String input = null;
        String output = "-";
        for (int i = 0; i < args.length; ++i) {
            String a = args[i];
            switch (a) {
                case "--profile":
                    profileName = value(args, ++i, a);
                    break;
                case "--printer":
                    model = value(args, ++i, a);
                    break;
                case "--list-printers":
                    listPrinters(stdout);
                    return 0;
                case "--code-page":
                    String cp = value(args, ++i, a);
                    codePage = cp.equals("auto") ? ReceiptEncoder.AUTO_CODE_PAGE : number(cp, a);
                    break;
                case "--width":
                    width = number(value(args, ++i, a), a);
                    break;
                case "--paper":
                    paper = number(value(args, ++i, a), a);
                    break;
                case "--center":
                    center = true;
                    break;
                case "--stats":
                    stats = true;
                    break;
                case "--fixed-cells":
                    fixedCells = true;
                    break;
                case "-o":
                case "--output":
                    output = value(args, ++i, a);
                    break;
                default:
                    if (a.startsWith("-") && !a.equals("-"))
                        throw new BadInput("unknown option " + a);
                    if (input != null) throw new BadInput("more than one input: " + a);
                    input = a;
            }
        }
        if (input == null) throw new BadInput("no input file (use - for standard input)");

        ReceiptEncoder encoder;
        try {
            PrinterProfile profile =
                model != null ? PrinterProfile.forModel(model) : PrinterProfile.named(profileName);
            if (paper == 0 && profile.paperDots() == 0) paper = DEFAULT_PAPER;
            encoder = new ReceiptEncoder(profile, codePage, width, paper).fixedCells(fixedCells);
            paper = encoder.paperDots();
        } catch (IllegalArgumentException e) {
            throw new BadInput(e.getMessage());
        }
        String text = decode(read(input, stdin), input);
        String[] lines = text.split("\r?\n", -1);
        int count = lines.length;
        // The line break that ends the file ends its last line.
        if (count > 0 && lines[count - 1].isEmpty()) --count;
        for (int i = 0; i < count; ++i) {
            if (lines[i].isEmpty()) {
                encoder.addFeed(1);
            } else if (center) {
                encoder.addCenteredLine(lines[i]);
            } else {
                encoder.addLine(lines[i]);
            }
        }
        byte[] bytes = encoder.toBytes();
        write(output, bytes, stdout);

        for (Note note : encoder.notes()) err.println("encode-receipt: warning: " + note);
        if (stats) {
            int raster = encoder.printedLines() * ((paper + 7) / 8) * 24;
            err.printf("encode-receipt: %d lines, %d drawn and %d resident characters, %d bytes"
                    + " (a 24-dot raster of the same lines: %d bytes)%n",
                encoder.printedLines(), encoder.drawnCharacters(), encoder.residentCharacters(),
                bytes.length, raster);
        }
        return 0;
    }

    /** One model a line: id, name, dots per inch, paper dots, and its tables (code page=n). */
    private static void listPrinters(OutputStream stdout) throws BadInput {
        StringBuilder text = new StringBuilder();
        for (String id : PrinterProfile.models()) {
            PrinterProfile p = PrinterProfile.forModel(id);
            text.append(id)
                .append('\t')
                .append(PrinterProfile.modelName(id))
                .append('\t')
                .append(p.dpi())
                .append(" dpi\t")
                .append(p.paperDots())
                .append(" dots\t");
            StringBuilder tables = new StringBuilder();
            p.codeTables().forEach((cp, n) -> tables.append(' ').append(cp).append('=').append(n));
            if (p.katakanaTable() >= 0) tables.append(" katakana=").append(p.katakanaTable());
            text.append(tables.length() == 0 ? "-" : tables.substring(1)).append('\n');
        }
        write("-", text.toString().getBytes(StandardCharsets.UTF_8), stdout);
    }

    private static String value(String[] args, int i, String option) throws BadInput {
        if (i >= args.length) throw new BadInput(option + " needs a value");
        return args[i];
    }

    private static int number(String value, String option) throws BadInput {
        try {
            return Integer.parseInt(value);
        } catch (NumberFormatException e) {
            throw new BadInput(option + " takes a number: " + value);
        }
    }

    private static byte[] read(String input, InputStream stdin) throws BadInput {
        try {
            if (input.equals("-")) {
                ByteArrayOutputStream all = new ByteArrayOutputStream();
                byte[] buffer = new byte[8192];
                for (int n; (n = stdin.read(buffer)) > 0;) all.write(buffer, 0, n);
                return all.toByteArray();
            }
            return Files.readAllBytes(Paths.get(input));
        } catch (IOException | RuntimeException e) {
            throw new BadInput("cannot read " + input + ": " + e.getMessage());
        }
    }

    /** Strict UTF-8, a leading byte order mark dropped; names the offset of the first bad byte. */
    private static String decode(byte[] bytes, String input) throws BadInput {
        CharsetDecoder decoder = StandardCharsets.UTF_8.newDecoder()
                                     .onMalformedInput(CodingErrorAction.REPORT)
                                     .onUnmappableCharacter(CodingErrorAction.REPORT);
        ByteBuffer in = ByteBuffer.wrap(bytes);
        CharBuffer out = CharBuffer.allocate(bytes.length + 1);
        CoderResult result = decoder.decode(in, out, true);
        if (result.isError()) {
            throw new BadInput(input + ": invalid UTF-8 at byte offset " + in.position());
        }
        if (decoder.flush(out).isError()) throw new BadInput(input + ": invalid UTF-8 at its end");
        out.flip();
        String text = out.toString();
        return text.startsWith("\uFEFF") ? text.substring(1) : text;
    }

    /** Writes the whole output or nothing: a file is written beside its place, then moved. */
    private static void write(String output, byte[] bytes, OutputStream stdout) throws BadInput {
        if (output.equals("-")) {
            try {
                stdout.write(bytes);
                stdout.flush();
            } catch (IOException e) {
                throw new BadInput("cannot write standard output: " + e.getMessage());
            }
            return;
        }
        Path target = Paths.get(output).toAbsolutePath();
        Path temporary = null;
        try {
            // A new file beside the target, so that the move replaces the target in one step.
            temporary = target.resolveSibling(
                "." + target.getFileName() + "." + Long.toHexString(System.nanoTime()) + ".tmp");
            Files.write(temporary, bytes, StandardOpenOption.CREATE_NEW, StandardOpenOption.WRITE);
            Files.move(temporary, target, StandardCopyOption.REPLACE_EXISTING);
            temporary = null;
        } catch (IOException | RuntimeException e) {
            throw new BadInput("cannot write " + output + ": " + e.getMessage());
        } finally {
            if (temporary != null) {
                try {
                    Files.deleteIfExists(temporary);
                } catch (IOException e) {
                    // nothing more can be done; the refusal is reported
                }
            }
        }
    }
}
