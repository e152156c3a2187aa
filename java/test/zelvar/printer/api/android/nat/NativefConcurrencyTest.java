// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.nat;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.Callable;
import java.util.concurrent.CyclicBarrier;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.api.Test;

/**
 * Several Java threads calling all four methods at once get the answers a single thread gets:
 * the library keeps no state between calls, and each thread carries its own placement record.
 */
class NativefConcurrencyTest {
    static final int THREADS = 6;
    static final int ROUNDS = 300;
    static final int ARABIC = 1256;

    static final long[][] LINES = {
        {0x05D0, 0x05D1, 0x20, 0x31, 0x32},
        {0x0628, 0x0628, 0x20, 0x0627, 0x0644},
        {'p', 'r', 'i', 'n', 't', 0x20, 0x05D0},
        {},
    };
    // A run per thread: base letters, each followed by marks that fit against it.
    static final int[] RUN = {0x0628, 0x064E, 0x0650, 0x0627, 0x0651, 0x062A, 0x064B};
    static final int[] WIDTHS = {10, 13, 18};

    /** Everything one thread computes in one round, to compare round against round. */
    record Round(
        List<long[]> lines, List<int[]> sequences, List<byte[]> records, boolean[] answers) {
        void assertSameAs(Round other, String where) {
            assertEquals(lines.size(), other.lines.size());
            for (int i = 0; i < lines.size(); ++i) {
                assertArrayEquals(other.lines.get(i), lines.get(i), where + " line " + i);
            }
            assertEquals(sequences.size(), other.sequences.size());
            for (int i = 0; i < sequences.size(); ++i) {
                assertArrayEquals(other.sequences.get(i), sequences.get(i), where + " seq " + i);
                assertArrayEquals(other.records.get(i), records.get(i), where + " record " + i);
            }
            assertArrayEquals(other.answers, answers, where + " queries");
        }
    }

    static Round oneRound(int width) {
        List<long[]> lines = new ArrayList<>();
        for (long[] line : LINES) lines.add(nativef.ReverseTextRWC(line));
        List<int[]> sequences = new ArrayList<>();
        List<byte[]> records = new ArrayList<>();
        byte[] placement = nativef.newPlacementRecord();
        for (int codePoint : RUN) {
            sequences.add(nativef.GetFontDrawBuffer(codePoint, ARABIC, width, 24, placement));
            records.add(placement.clone());
        }
        boolean[] answers = new boolean[RUN.length + 3];
        for (int i = 0; i < RUN.length; ++i) {
            answers[i] = nativef.CharAvailable(RUN[i], ARABIC, width, 24);
        }
        answers[RUN.length] = nativef.IsFontWidthSupported(width);
        answers[RUN.length + 1] = nativef.IsFontWidthSupported(width + 1);
        answers[RUN.length + 2] = nativef.CharAvailable(RUN[0], 437, width, 24);
        return new Round(lines, sequences, records, answers);
    }

    @Test
    void threadsCallingAllMethodsAtOnceAgreeWithOneThread() throws Exception {
        Round[] expected = new Round[WIDTHS.length];
        for (int w = 0; w < WIDTHS.length; ++w) {
            expected[w] = oneRound(WIDTHS[w]);
            for (int[] sequence : expected[w].sequences()) {
                assertTrue(sequence.length > 0, "every character of the run can be drawn");
            }
        }

        CyclicBarrier start = new CyclicBarrier(THREADS);
        ExecutorService pool = Executors.newFixedThreadPool(THREADS);
        try {
            List<Future<Integer>> done = new ArrayList<>();
            for (int t = 0; t < THREADS; ++t) {
                final int thread = t;
                Callable<Integer> work = () -> {
                    start.await(30, TimeUnit.SECONDS);
                    for (int round = 0; round < ROUNDS; ++round) {
                        int w = (thread + round) % WIDTHS.length;
                        oneRound(WIDTHS[w]).assertSameAs(
                            expected[w], "thread " + thread + " round " + round);
                    }
                    return ROUNDS;
                };
                done.add(pool.submit(work));
            }
            for (Future<Integer> future : done) {
                assertEquals(ROUNDS, future.get(5, TimeUnit.MINUTES));
            }
        } finally {
            pool.shutdownNow();
        }
    }
}
