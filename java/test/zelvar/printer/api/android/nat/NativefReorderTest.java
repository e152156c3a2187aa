// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.nat;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotSame;

import java.util.stream.Stream;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

/** Reordering a line from reading order into printing order, through the JVM. */
class NativefReorderTest {
    static long[] line(long... codePoints) { return codePoints; }

    static Stream<Arguments> lines() {
        return Stream.of(Arguments.of("empty line", line(), line()),
            Arguments.of("Hebrew letters reversed", line(0x05D0, 0x05D1, 0x05D2),
                line(0x05D2, 0x05D1, 0x05D0)),
            Arguments.of("digits keep their order inside right-to-left text",
                line(0x05D0, 0x05D1, 0x20, 0x31, 0x32), line(0x31, 0x32, 0x20, 0x05D1, 0x05D0)),
            Arguments.of("parentheses mirrored as well as moved", line(0x05D0, 0x28, 0x05D1, 0x29),
                line(0x28, 0x05D1, 0x29, 0x05D0)),
            Arguments.of("Arabic letters joined, final form first", line(0x0628, 0x0628),
                line(0xFE90, 0xFE91)),
            Arguments.of(
                "left-to-right letters unchanged", line('a', 'b', 'c'), line('a', 'b', 'c')),
            Arguments.of("no strong character: left to right", line('1', ' ', '2', '3'),
                line('1', ' ', '2', '3')),
            Arguments.of("cut before a zero element", line('a', 'b', 0, 'c'), line('a', 'b')),
            Arguments.of("a zero element first gives an empty line", line(0, 'a'), line()),
            Arguments.of("only the low 32 bits travel, sign-extended",
                line(0x80000041L, 0x100000041L), line(0xFFFFFFFF80000041L, 0x41)));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("lines")
    void reordersIntoPrintingOrder(String what, long[] logical, long[] visual) {
        long[] passed = logical.clone();
        long[] result = nativef.ReverseTextRWC(passed);
        assertArrayEquals(visual, result, what);
        assertArrayEquals(logical, passed, "the line passed in is unchanged");
        assertNotSame(passed, result);
    }

    @Test
    void nullLineIsAnEmptyLine() {
        assertEquals(0, nativef.ReverseTextRWC(null).length);
    }

    @Test
    void longLineComesBackWhole() {
        long[] logical = new long[20000];
        for (int i = 0; i < logical.length; ++i) logical[i] = 0x05D0 + (i % 27);
        long[] visual = nativef.ReverseTextRWC(logical);
        assertEquals(logical.length, visual.length);
        for (int i = 0; i < logical.length; ++i) {
            assertEquals(logical[logical.length - 1 - i], visual[i], "element " + i);
        }
    }
}
