// SPDX-License-Identifier: Apache-2.0
package zelvar.printer.api.android.text;

import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

/** What a receipt did not print as written, one entry per kind and character, in first order. */
final class Notes {
    // kind, code point -> first line, count
    private final Map<Long, int[]> entries = new LinkedHashMap<>();
    /** The input line being printed, 1-based; the line of the notes taken now. */
    int line;

    void add(Note.Kind kind, int codePoint) { addAt(kind, codePoint, line); }

    void addAt(Note.Kind kind, int codePoint, int atLine) {
        long key = ((long) kind.ordinal() << 32) | (codePoint & 0xFFFFFFFFL);
        int[] entry = entries.get(key);
        if (entry == null) {
            entries.put(key, new int[] {atLine, 1});
        } else {
            ++entry[1];
        }
    }

    /** The notes of one kind, or all of them when {@code kind} is null. */
    List<Note> list(Note.Kind kind) {
        List<Note> list = new ArrayList<>();
        for (Map.Entry<Long, int[]> e : entries.entrySet()) {
            Note.Kind k = Note.Kind.values()[(int) (e.getKey() >>> 32)];
            if (kind != null && k != kind) continue;
            int cp = (int) (long) e.getKey();
            list.add(new Note(k, cp, e.getValue()[0], e.getValue()[1]));
        }
        return list;
    }
}
