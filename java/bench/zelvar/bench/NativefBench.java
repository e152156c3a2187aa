// SPDX-License-Identifier: Apache-2.0
package zelvar.bench;

import java.io.IOException;
import java.io.PrintStream;
import java.lang.management.GarbageCollectorMXBean;
import java.lang.management.ManagementFactory;
import java.lang.management.ThreadMXBean;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.function.LongSupplier;
import zelvar.printer.api.android.nat.nativef;

/**
 * Times each native method of {@link nativef} from a real JVM, the way the Java side calls it.
 *
 * <p>Each case is first run until the JIT has settled (warm-up), then timed in samples: a sample
 * is a batch of calls sized to last about 10 ms, and its time per call is the batch's CPU time
 * (with the collectors' time meanwhile) divided by its calls. The samples of all cases are taken
 * in turn. The median of the samples is reported, with the fastest and slowest sample.
 *
 * <p>Usage: {@code java -Dzelvar.printer.api.library=LIB -cp ... zelvar.bench.NativefBench
 * LINES_FILE [OUTPUT_FILE]}. LINES_FILE holds one line of text per row: a name, then the code
 * points in hexadecimal (zelvar_bench --write-lines writes it, so that both harnesses time the
 * same text). The results are rows of "name median_ns fastest_ns slowest_ns", tab-separated, on
 * standard output and, when given, in OUTPUT_FILE.
 */
public final class NativefBench {
    private static final long WARM_UP_NANOS = 1_500_000_000L;
    private static final long SAMPLE_NANOS = 10_000_000L;
    private static final int SAMPLES = 31;
    private static final ThreadMXBean THREADS = ManagementFactory.getThreadMXBean();

    private static final int ARABIC_CODE_PAGE = 1256;
    private static final int BEH = 0x0628;
    private static final int FONT_WIDTH = 10;
    private static final int FONT_HEIGHT = 24;

    /** Results are folded in here so that no call can be optimised away. */
    private static long sink;

    private NativefBench() {}

    /** One case: the call, its batch size once warmed up, and its samples (ns per call). */
    private static final class Case {
        final String name;
        final LongSupplier call;
        long batch;
        final double[] perCall = new double[SAMPLES];

        Case(String name, LongSupplier call) {
            this.name = name;
            this.call = call;
        }
    }

    /** Runs the case until the JIT has settled, and sizes its batches from what it managed. */
    static void warmUp(Case c) {
        long calls = 0;
        final long end = System.nanoTime() + WARM_UP_NANOS;
        while (System.nanoTime() < end) {
            sink += c.call.getAsLong();
            ++calls;
        }
        c.batch = Math.max(1, calls * SAMPLE_NANOS / WARM_UP_NANOS);
    }

    /** Total milliseconds the collectors have spent so far, on whatever thread. */
    static long collectorMillis() {
        long total = 0;
        for (GarbageCollectorMXBean gc : ManagementFactory.getGarbageCollectorMXBeans()) {
            total += Math.max(0, gc.getCollectionTime());
        }
        return total;
    }

    /**
     * Takes sample s of the case: the CPU time of this thread over one batch, plus the time the
     * collectors spent meanwhile (they run on threads of their own, but collect what the calls
     * allocated), per call. CPU time rather than wall-clock time, so that time the thread spends
     * descheduled on a busy machine is not counted; the native benchmarks count the same way.
     */
    static void sample(Case c, int s) {
        final long gcBefore = collectorMillis();
        final long start = THREADS.getCurrentThreadCpuTime();
        for (long i = 0; i < c.batch; ++i) {
            sink += c.call.getAsLong();
        }
        final long cpu = THREADS.getCurrentThreadCpuTime() - start;
        final long gc = (collectorMillis() - gcBefore) * 1_000_000L;
        c.perCall[s] = (double) (cpu + gc) / c.batch;
    }

    static Map<String, long[]> readLines(Path file) throws IOException {
        final Map<String, long[]> lines = new LinkedHashMap<>();
        for (String row : Files.readAllLines(file, StandardCharsets.US_ASCII)) {
            final String[] fields = row.trim().split("\\s+");
            if (fields.length < 2) {
                continue;
            }
            final long[] text = new long[fields.length - 1];
            for (int i = 1; i < fields.length; ++i) {
                text[i - 1] = Long.parseLong(fields[i], 16);
            }
            lines.put(fields[0], text);
        }
        return lines;
    }

    public static void main(String[] args) throws IOException {
        if (args.length < 1 || args.length > 2) {
            System.err.println("usage: NativefBench LINES_FILE [OUTPUT_FILE]");
            System.exit(2);
        }
        final Map<String, long[]> lines = readLines(Path.of(args[0]));
        if (lines.isEmpty()) {
            System.err.println("no lines in " + args[0]);
            System.exit(2);
        }

        final Map<String, LongSupplier> cases = new LinkedHashMap<>();
        final byte[] placement = nativef.newPlacementRecord();
        cases.put("jvm/GetFontDrawBuffer",
            ()
                -> nativef
                       .GetFontDrawBuffer(BEH, ARABIC_CODE_PAGE, FONT_WIDTH, FONT_HEIGHT, placement)
                       .length);
        cases.put("jvm/CharAvailable",
            () -> nativef.CharAvailable(BEH, ARABIC_CODE_PAGE, FONT_WIDTH, FONT_HEIGHT) ? 1 : 0);
        cases.put(
            "jvm/IsFontWidthSupported", () -> nativef.IsFontWidthSupported(FONT_WIDTH) ? 1 : 0);
        for (Map.Entry<String, long[]> line : lines.entrySet()) {
            final long[] text = line.getValue();
            cases.put(
                "jvm/ReverseTextRWC/" + line.getKey(), () -> nativef.ReverseTextRWC(text).length);
        }

        // Each case must do what it is timed for.
        if (nativef.GetFontDrawBuffer(BEH, ARABIC_CODE_PAGE, FONT_WIDTH, FONT_HEIGHT, placement)
                .length
            == 0) {
            throw new IllegalStateException("GetFontDrawBuffer refused the benchmark's glyph");
        }

        final List<Case> all = new ArrayList<>();
        cases.forEach((name, call) -> all.add(new Case(name, call)));
        all.forEach(NativefBench::warmUp);
        // Samples of all cases taken in turn, so that a busy spell of the machine touches every
        // case alike.
        for (int s = 0; s < SAMPLES; ++s) {
            for (Case c : all) {
                sample(c, s);
            }
        }
        final List<String> rows = new ArrayList<>();
        for (Case c : all) {
            Arrays.sort(c.perCall);
            final String row = String.format("%s\t%.1f\t%.1f\t%.1f", c.name, c.perCall[SAMPLES / 2],
                c.perCall[0], c.perCall[SAMPLES - 1]);
            System.out.println(row);
            rows.add(row);
        }
        if (args.length == 2) {
            try (PrintStream out = new PrintStream(args[1], StandardCharsets.US_ASCII)) {
                rows.forEach(out::println);
            }
        }
        if (sink == 42) {
            System.out.println(); // keeps the results alive
        }
    }
}
