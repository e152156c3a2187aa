#!/usr/bin/python3
"""Legibility benchmark: how well Tesseract reads the Arabic and Persian the printer draws.

Each phrase file is printed as one receipt per width (one phrase a line) through the encoder and
the receipt preview; every printed line is cropped from the picture using the paper row the
preview reports for its cells, and read by Tesseract. The same phrases set by Pango in Noto Sans
Arabic give the reference score. The score is the character error rate on letters only.
"""
import argparse, os, re, subprocess, sys, tempfile, unicodedata
from concurrent.futures import ThreadPoolExecutor
from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPTS = [("Arabic", "phrases-ar.txt", "ara"), ("Persian", "phrases-fa.txt", "fas")]
LINE_H, MARGIN, SCALE = 24, 8, 3
# Tesseract and the phrases spell some letters differently; compare them as one.
FOLD = str.maketrans({"\u06cc": "\u064a", "\u0649": "\u064a", "\u06a9": "\u0643"})


def letters(s):
    s = s.replace("[psm13]", "")
    s = unicodedata.normalize("NFKC", s).translate(FOLD)
    out = []
    for c in s:
        o = ord(c)
        if 0x064B <= o <= 0x065F or o in (0x0670, 0x0640, 0x200C, 0x200D):
            continue
        if unicodedata.category(c)[0] in "LN":  # drops spaces, punctuation, symbols
            out.append(c)
    return "".join(out)


def levenshtein(a, b):
    prev = list(range(len(b) + 1))
    for i, ca in enumerate(a, 1):
        cur = [i]
        for j, cb in enumerate(b, 1):
            cur.append(min(prev[j] + 1, cur[j - 1] + 1, prev[j - 1] + (ca != cb)))
        prev = cur
    return prev[-1]


def cer(ref, got):
    r, g = letters(ref), letters(got)
    return levenshtein(r, g) / max(1, len(r))


def self_check():
    assert levenshtein("kitten", "sitting") == 3
    # presentation forms, harakat, ZWNJ, yeh/kaf variants and spaces do not count
    assert cer("پیش‌پرداخت", "\ufb58\u064a\u0634 پرداخت") == 0
    assert cer("شكراً", "شکرا.") == 0
    assert abs(cer("الإجمالي", "الاجمالي") - 1 / 8) < 1e-9  # 8 letters, one differs


def ink_crop(img, box=None):
    """Crops to the ink (with a white margin), black and white, scaled 3x nearest."""
    g = img.convert("L")
    if box:
        g = g.crop(box)
    bw = g.point(lambda v: 0 if v < 128 else 255, "L")
    bbox = bw.point(lambda v: 255 - v).getbbox()
    if not bbox:
        return None
    l, t, r, b = bbox
    out = Image.new("L", (r - l + 2 * MARGIN, b - t + 2 * MARGIN), 255)
    out.paste(bw.crop(bbox), (MARGIN, MARGIN))
    return out.resize((out.width * SCALE, out.height * SCALE), Image.NEAREST)


def run(cmd, **kw):
    return subprocess.run(cmd, check=True, capture_output=True, **kw)


def printed_lines(build, phrases, width, tmp, fixed=False):
    """Prints the phrases as one receipt; returns one line picture per phrase (None if blank)."""
    src, binf, png = (os.path.join(tmp, f"w{width}.{e}") for e in ("txt", "bin", "png"))
    with open(src, "w", encoding="utf-8") as f:
        f.write("\n".join(phrases) + "\n")
    enc = run([os.path.join(build, "java/encode-receipt"), "--code-page", "1256", "--width",
               str(width), "--paper", "576", "-o", binf, src] + (["--fixed-cells"] if fixed else []))
    prev = os.path.join(build, "tools/preview/receipt-preview")
    run([prev, binf, "--code-page", "1256", "--png", png, "--scale", "1"])
    cells = run([prev, binf, "--code-page", "1256", "--cells"], text=True).stdout
    rows = {}  # printed line -> paper row y
    for ln in cells.splitlines():
        nums = re.findall(r"-?\d+", ln.split("U+")[0])
        if len(nums) >= 2:
            rows.setdefault(int(nums[0]), int(nums[1]))
    img = Image.open(png)
    ys = [rows[k] for k in sorted(rows)]
    if len(ys) != len(phrases):
        sys.exit(f"width {width}: {len(ys)} printed lines for {len(phrases)} phrases "
                 f"(a phrase wrapped or printed nothing); warnings: {enc.stderr.decode()[:300]}")
    return [ink_crop(img, (0, y, img.width, y + LINE_H)) for y in ys]


def pango_line(text, out):
    run(["pango-view", "--font=Noto Sans Arabic 15px", "--antialias=none", "--hinting=full",
         "--margin=8", "-q", "-o", out, "--text=" + text])
    return ink_crop(Image.open(out))


def ocr(img, path, lang):
    if img is None:
        return ""
    img.save(path)
    # --psm 7 sometimes returns nothing for a clean line (its layout step drops it, Pango's lines
    # too); that is not a misreading, so such a line is read again as a raw line (--psm 13).
    for psm in ("7", "13"):
        got = run(["tesseract", path, "stdout", "-l", lang, "--psm", psm], text=True).stdout.strip()
        if got:
            return got if psm == "7" else "[psm13] " + got
    return ""


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--build", default="build")
    ap.add_argument("--widths", default="10,13,18")
    ap.add_argument("--verbose", action="store_true")
    ap.add_argument("--fixed-cells", action="store_true",
                    help="print drawn Arabic in the fonts' fixed cells, not at natural width")
    a = ap.parse_args()
    self_check()
    widths = [int(w) for w in a.widths.split(",")]
    cols = [str(w) for w in widths] + ["Pango"]
    table = {}
    with tempfile.TemporaryDirectory() as tmp, ThreadPoolExecutor(2) as pool:
        for name, fname, lang in SCRIPTS:
            with open(os.path.join(HERE, fname), encoding="utf-8") as f:
                phrases = [p.strip() for p in f if p.strip()]
            jobs = []
            for w in widths:
                for i, im in enumerate(printed_lines(a.build, phrases, w, tmp, a.fixed_cells)):
                    jobs.append((str(w), phrases[i], im, os.path.join(tmp, f"{lang}{w}_{i}.png")))
            for i, p in enumerate(phrases):
                pth = os.path.join(tmp, f"{lang}pango_{i}.png")
                jobs.append(("Pango", p, pango_line(p, pth), pth))
            reads = pool.map(lambda j: ocr(j[2], j[3], lang), jobs)
            errs, refs, retried = {}, {}, {}
            for (col, p, _, _), got in zip(jobs, reads):
                d = levenshtein(letters(p), letters(got))
                errs[col] = errs.get(col, 0) + d
                refs[col] = refs.get(col, 0) + len(letters(p))
                retried[col] = retried.get(col, 0) + got.startswith("[psm13]")
                if a.verbose:
                    print(f"{name:8} {col:>5} {100 * cer(p, got):6.1f}%  {p}  ->  {got}")
            table[name] = {c: (100 * errs[c] / max(1, refs[c]), retried[c]) for c in cols}
    print(f"{'CER % (lines read with --psm 13)':34}" + "".join(f"{c:>12}" for c in cols))
    for name in table:
        print(f"{name:34}" + "".join(f"{table[name][c][0]:7.1f} ({table[name][c][1]:2})"
                                     for c in cols))


if __name__ == "__main__":
    main()
