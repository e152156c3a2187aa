# SPDX-License-Identifier: Apache-2.0
"""The pinned inputs of the generator: the source fonts and the FreeType that rasterises them.

Each source is checked by its SHA-256 and its version string before anything is drawn, and the
FreeType version is checked too, so the tables depend on nothing but these inputs.
"""

import hashlib
import os

import freetype

HERE = os.path.dirname(os.path.abspath(__file__))


class Source:
    """A pinned font source: the generator refuses to run on any other file."""

    def __init__(self, key, name, path, version, sha256, licence, face_index=0):
        self.key = key
        self.name = name
        self.path = path
        self.version = version
        self.sha256 = sha256
        self.licence = licence
        self.face_index = face_index
        self._face = None

    def check(self):
        if not os.path.exists(self.path):
            raise SystemExit("fontgen: missing source %s (%s); install it first (see "
                             "tools/fontgen/README.md or check.sh)" % (self.name, self.path))
        with open(self.path, "rb") as f:
            digest = hashlib.sha256(f.read()).hexdigest()
        if digest != self.sha256:
            raise SystemExit("fontgen: %s at %s is not the pinned build %s\n"
                             "  expected sha256 %s\n  found    sha256 %s"
                             % (self.name, self.path, self.version, self.sha256, digest))
        from fontTools.ttLib import TTFont
        font = TTFont(self.path, fontNumber=self.face_index, lazy=True)
        found = font["name"].getDebugName(5) or ""
        if not found.startswith(self.version):
            raise SystemExit("fontgen: %s has version '%s', expected '%s'"
                             % (self.name, found, self.version))

    def face(self):
        if self._face is None:
            self._face = freetype.Face(self.path, index=self.face_index)
        return self._face


NPM_ARABIC = os.path.join(HERE, "node_modules", "@fontsource", "noto-sans-arabic", "files",
                          "noto-sans-arabic-arabic-400-normal.woff")
SOURCES = {
    "arabic": Source(
        "arabic", "Noto Sans Arabic Regular (npm @fontsource/noto-sans-arabic 5.3.0)", NPM_ARABIC,
        "Version 2.012", "6d47c7e4dfc76e221d078945ef2bbf47b047f1b316cf87c7663086639814c763",
        "OFL-1.1"),
    "arabic_debian": Source(
        "arabic_debian", "Noto Sans Arabic Regular (Debian fonts-noto-core 20201225-1)",
        "/usr/share/fonts/truetype/noto/NotoSansArabic-Regular.ttf", "Version 2.005",
        "504d7407d86875acf7d04dfaa0fd7524d0b8797723bc4aa18022f29db25b0b6e", "OFL-1.1"),
    "cjk_jp": Source(
        "cjk_jp", "Noto Sans CJK JP Regular (Debian fonts-noto-cjk 1:20220127+repack1-1)",
        "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", "Version 2.004",
        "b76b0433203017ca80401b2ee0dd69350349871c4b19d504c34dbdd80541690a", "OFL-1.1", 0),
    "cjk_sc": Source(
        "cjk_sc", "Noto Sans CJK SC Regular (Debian fonts-noto-cjk 1:20220127+repack1-1)",
        "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", "Version 2.004",
        "b76b0433203017ca80401b2ee0dd69350349871c4b19d504c34dbdd80541690a", "OFL-1.1", 2),
    "dejavu": Source(
        "dejavu", "DejaVu Sans (Debian fonts-dejavu-core 2.37-6)",
        "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "Version 2.37",
        "abdc775b21b1bc470d50c97e790d276f2054b7504e56e5bd3e64f48d68582322",
        "Bitstream Vera / DejaVu (permissive)"),
    "unifont": Source(
        "unifont", "GNU Unifont (Debian fonts-unifont 1:15.0.01-2)",
        "/usr/share/fonts/opentype/unifont/unifont.otf", "Version 15.0.01",
        "db1960227adcb14640063e7384fdcd2867aaf819d9ca4866bca289d4db9a9f67",
        "OFL-1.1 (dual-licensed font, OFL option)"),
}


# The rasteriser is an input too: another FreeType may hint a stroke onto another dot.
FREETYPE_VERSION = (2, 12, 1)  # Debian libfreetype6 2.12.1


def check_rasteriser():
    found = tuple(freetype.version())
    if found != FREETYPE_VERSION:
        raise SystemExit("fontgen: FreeType %s found, the tables are made with %s"
                         % (".".join(map(str, found)), ".".join(map(str, FREETYPE_VERSION))))
