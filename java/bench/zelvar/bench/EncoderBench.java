// SPDX-License-Identifier: Apache-2.0
package zelvar.bench;

import java.io.IOException;
import java.lang.management.ManagementFactory;
import java.lang.management.ThreadMXBean;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.function.LongSupplier;
import zelvar.printer.api.android.nat.nativef;
import zelvar.printer.api.android.text.PrinterProfile;
import zelvar.printer.api.android.text.ReceiptEncoder;

/**
 * What the receipt encoder costs against the native calls it cannot avoid, timed in one run.
 *
 * <p>Cases: encoding a receipt file (every line through a new encoder, then toBytes); the bare
 * native calls the same receipt needs (one ReverseTextRWC per line and one GetFontDrawBuffer per
 * drawn character, prepared beforehand); and a 1,000-line receipt made of the same lines. Each
 * case is warmed up, then timed in interleaved samples of about 20 ms of thread CPU time; the
 * medians are compared with the targets. Then the bytes on the wire: the encoder's bytes for each
 * file at widths 10 and 13 against the same lines sent as a 24-dot raster image of the paper.
 *
 * <p>Usage: {@code build/java/encoder-bench RECEIPT [MORE_RECEIPTS...]}; the first file is timed.
 */
public final class EncoderBench {
    private static final long WARM_UP_NANOS = 1_500_000_000L;
    private static final long SAMPLE_NANOS = 20_000_000L;
    private static final int SAMPLES = 25;
    private static final int CODE_PAGE = 1255;
    private static final int WIDTH = 13;
    private static final int PAPER = 576;
    private static final int LONG_RECEIPT_LINES = 1000;
    private static final ThreadMXBean THREADS = ManagementFactory.getThreadMXBean();

    private static long sink;

    private EncoderBench() {}

    private static final class Case {
        final String name;
        final LongSupplier call;
        long batch = 1;
        final double[] nanos = new double[SAMPLES];

        Case(String name, LongSupplier call) {
            this.name = name;
            this.call = call;
        }

        double median() {
            double[] sorted = nanos.clone();
            Arrays.sort(sorted);
            return sorted[SAMPLES / 2];
        }
    }

    static long encode(List<String> lines, int width) {
        ReceiptEncoder encoder =
            new ReceiptEncoder(PrinterProfile.REFERENCE, CODE_PAGE, width, PAPER);
        for (String line : lines) {
            if (line.isEmpty()) {
                encoder.addFeed(1);
            } else {
                encoder.addLine(line);
            }
        }
        return encoder.toBytes().length;
    }

    public static void main(String[] args) throws IOException {
        if (args.length < 1) {
            System.err.println("usage: encoder-bench RECEIPT [MORE_RECEIPTS...]");
            System.exit(2);
        }
        List<String> lines = readLines(args[0]);
        List<String> longReceipt = new ArrayList<>();
        while (longReceipt.size() < LONG_RECEIPT_LINES) {
            longReceipt.add(lines.get(longReceipt.size() % lines.size()));
        }

        // The native calls the receipt needs, prepared: each line as the reordering gets it, and
        // each character the library draws, with its font width.
        List<long[]> logical = new ArrayList<>();
        List<int[]> drawn = new ArrayList<>();
        for (String line : lines) {
            if (line.isEmpty()) continue;
            int[] cps = line.codePoints().toArray();
            long[] l = new long[cps.length + 1];
            l[0] = 0x200F;
            for (int i = 0; i < cps.length; ++i) l[i + 1] = cps[i];
            logical.add(l);
            List<Integer> chars = new ArrayList<>();
            for (long c : nativef.ReverseTextRWC(l)) {
                int cp = (int) c;
                if (nativef.CharAvailable(cp, CODE_PAGE, WIDTH, 24)) {
                    chars.add(cp);
                    chars.add(WIDTH);
                } else if (nativef.CharAvailable(cp, CODE_PAGE, 24, 24)) {
                    chars.add(cp);
                    chars.add(24);
                }
            }
            drawn.add(chars.stream().mapToInt(Integer::intValue).toArray());
        }
        int drawnCount = drawn.stream().mapToInt(d -> d.length / 2).sum();
        ReceiptEncoder probe =
            new ReceiptEncoder(PrinterProfile.REFERENCE, CODE_PAGE, WIDTH, PAPER);
        lines.forEach(probe::addLine);

        Case nativeCalls = new Case("bare native calls", () -> {
            long n = 0;
            for (int i = 0; i < logical.size(); ++i) {
                n += nativef.ReverseTextRWC(logical.get(i)).length;
                byte[] placement = nativef.newPlacementRecord();
                int[] d = drawn.get(i);
                for (int j = 0; j < d.length; j += 2) {
                    n += nativef.GetFontDrawBuffer(d[j], CODE_PAGE, d[j + 1], 24, placement).length;
                }
            }
            return n;
        });
        Case encoder = new Case("encoder, " + lines.size() + " lines", () -> encode(lines, WIDTH));
        Case longEncoder =
            new Case("encoder, " + LONG_RECEIPT_LINES + " lines", () -> encode(longReceipt, WIDTH));
        Case[] cases = {nativeCalls, encoder, longEncoder};

        for (Case c : cases) {
            long start = THREADS.getCurrentThreadCpuTime();
            long calls = 0;
            while (THREADS.getCurrentThreadCpuTime() - start < WARM_UP_NANOS) {
                sink += c.call.getAsLong();
                ++calls;
            }
            c.batch = Math.max(1, calls * SAMPLE_NANOS / WARM_UP_NANOS);
        }
        for (int s = 0; s < SAMPLES; ++s) {
            for (Case c : cases) {
                long start = THREADS.getCurrentThreadCpuTime();
                for (long i = 0; i < c.batch; ++i) sink += c.call.getAsLong();
                c.nanos[s] = (THREADS.getCurrentThreadCpuTime() - start) / (double) c.batch;
            }
        }

        System.out.printf("%s: %d lines, %d drawn characters (the encoder drew %d)%n", args[0],
            lines.size(), drawnCount, probe.drawnCharacters());
        System.out.printf("%-28s %12s%n", "case (median of " + SAMPLES + ")", "us per call");
        for (Case c : cases) System.out.printf("%-28s %12.1f%n", c.name, c.median() / 1000);
        double ratio = encoder.median() / nativeCalls.median();
        double perLine =
            (longEncoder.median() / LONG_RECEIPT_LINES) / (encoder.median() / lines.size());
        System.out.printf("encoder / bare native calls: %.2f (target at most 1.5)%n", ratio);
        System.out.printf("encoder median: %.3f ms (target under 1 ms)%n", encoder.median() / 1e6);
        System.out.printf("per line, %d lines / %d lines: %.2f (target at most 1.2)%n",
            LONG_RECEIPT_LINES, lines.size(), perLine);

        System.out.println();
        System.out.printf(
            "%-40s %6s %6s %9s %9s%n", "bytes on the wire", "width", "lines", "text", "raster");
        for (String file : args) {
            List<String> receipt = readLines(file);
            for (int width : new int[] {10, 13}) {
                ReceiptEncoder e =
                    new ReceiptEncoder(PrinterProfile.REFERENCE, CODE_PAGE, width, PAPER);
                receipt.forEach(line -> {
                    if (line.isEmpty()) {
                        e.addFeed(1);
                    } else {
                        e.addLine(line);
                    }
                });
                int raster = e.printedLines() * (PAPER / 8) * 24;
                System.out.printf("%-40s %6d %6d %9d %9d%n", Paths.get(file).getFileName(), width,
                    e.printedLines(), e.toBytes().length, raster);
            }
        }
        if (sink == 42) System.out.println();
    }

    private static List<String> readLines(String file) throws IOException {
        List<String> lines =
            new ArrayList<>(Files.readAllLines(Paths.get(file), StandardCharsets.UTF_8));
        while (!lines.isEmpty() && lines.get(lines.size() - 1).isEmpty())
            lines.remove(lines.size() - 1);
        return lines;
    }
}
