#!/usr/bin/env python3
"""Writes the starting corpus of every fuzz target into tests/fuzz/corpus/<target>/.

Each seed is a small valid input (so the fuzzer starts inside the format) or a known edge
case. Inputs that once failed a target are added by hand and never rewritten here, as are
generated.* (the content generator's manifest and a font description of its own, with the
glyph image renamed to the fuzz target's "glyphs.tga"). The JPEG seed comes from make_jpeg_seed.c (libjpeg), run by this script when a C
compiler and libjpeg are at hand.
"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
CORPUS = os.path.join(HERE, "corpus")


def put(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("latin-1")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def head(path, lines):
    with open(os.path.join(ROOT, path), "rb") as f:
        return b"".join(f.readlines()[:lines])


def text_seeds():
    put("text_table", "lines.txt", head("data/resource.txt", 6))
    put("text_table", "edges.txt", "KEY,12,-4,two#lines\r\nNOCOMMA\r\nBIG,99999999999,1,x\nDUP,1,1,a\nDUP,2,2,b")
    put("text_table", "empty.txt", "")
    put("dictionary", "words.txt", head("data/dictionary.txt", 12) + b"ZEBRA\nABCDEFGHIJKLMNOPQRSTUVWXYZ\n")
    put("spelling_table", "entries.txt", head("data/spelling.txt", 5))
    put("spelling_table", "short.txt", "ONE\nTWO,TOO\n,,,\n")
    for selector, name, path in ((0, "names", "data/names.txt"), (1, "shopping", "data/shopping.txt"),
                                 (2, "alpha4", "data/alpha4.txt"), (3, "credits", "data/credits.txt")):
        put("word_lists", name + ".txt", bytes([selector]) + head(path, 120))
    put("word_lists", "alpha4-short.txt", b"\x02ABLE\nABC\n")


def xml_seeds():
    manifest = ('<?xml version="1.0"?>\n<!-- a comment -->\n<ResourceManifest>\n'
                '  <Resources id="Init">\n    <SetDefaults path="images" idprefix="IMAGE_"/>\n'
                '    <Image id="A" path="a" alphaimage="b" rows="2" cols="3" anim="cycle" framedelay="5"/>\n'
                '    <Sound id="S" path="s" volume="0.5" pan="-10"/>\n'
                '    <Font id="F" path="f.txt" tags="x"/>\n'
                '    <Font id="SYS" path="!sys:Arial" size="12" bold="true"/>\n'
                '  </Resources>\n</ResourceManifest>\n')
    put("xml", "manifest.xml", manifest)
    put("xml", "entities.xml", '<a b="&lt;&amp;&quot;&#65;&#x42;">text &gt; more<![CDATA[x]]></a><?pi x?>')
    put("xml", "utf16.xml", b"\xff\xfe" + "<a x='1'>\u00e9</a>".encode("utf-16-le"))
    put("manifest", "manifest.xml", manifest)
    put("manifest", "groups.xml", '<ResourceManifest><Resources id="G"><Image id="X" path="x"/></Resources>'
        '<Resources id="G"/><Bogus/></ResourceManifest>')


def font_seeds():
    put("font_desc", "font.txt",
        'SetDefaultPointSize 12;\nCreateLayer Main;\nLayerSetPointSize Main 12;\n'
        'LayerSetImage Main "glyphs.tga";\nLayerSetAscent Main 10;\nLayerSetHeight Main 14;\n'
        'Define Chars ( "A" "B" "C" );\nDefine Widths ( 5 6 7 );\n'
        'Define Rects ( (0 0 5 14) (5 0 6 14) (11 0 7 14) );\n'
        'LayerSetCharWidths Main Chars Widths;\nLayerSetImageMap Main Chars Rects;\n'
        'LayerSetColorMult Main (255 128 0 255);\nDefine Pairs ( "AB" );\nDefine Kerns ( -1 );\n'
        'LayerSetKerningPairs Main Pairs Kerns;\n'
        'CreateLayer Shadow Main;\nLayerSetDrawMode Shadow 1;\nLayerSetBaseOffset Shadow 1;\n')
    put("font_desc", "nested.txt", 'Define A (1 (2 (3 "x")) B);\nDefine B A;\n# comment\nLayerSetAscent Nope 1;')


def pak_seeds():
    def entry(name, size, time=0):
        n = name.encode()
        return bytes([0, len(n)]) + n + struct.pack("<IQ", size, time)
    members = [("DATA\\A.TXT", b"hello\nworld\r\n"), ("IMAGES\\B.PNG", b"\x89PNG"), ("EMPTY", b"")]
    directory = b"".join(entry(n, len(d), 132000000000000000) for n, d in members) + b"\x80"
    body = b"".join(d for _, d in members)
    put("pak", "three.pak", struct.pack("<II", 0xBAC04AC0, 0) + directory + body)
    put("pak", "overlong.pak", struct.pack("<II", 0xBAC04AC0, 0) + entry("BIG", 1 << 30) + b"\x80" + b"x")


def png(width, height, rows, color_type=6, depth=8, palette=None):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\x00" + r for r in rows)
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, color_type, 0, 0, 0))
    if palette:
        out += chunk(b"PLTE", palette)
    return out + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def image_seeds():
    put("image_png", "rgba2x2.png", png(2, 2, [b"\xff\x00\x00\xff\x00\xff\x00\x80", b"\x00\x00\xff\x00\xff\xff\xff\xff"]))
    put("image_png", "gray3x1.png", png(3, 1, [b"\x00\x80\xff"], color_type=0))
    put("image_png", "palette2x1.png", png(2, 1, [b"\x00\x01"], color_type=3, palette=b"\xff\x00\x00\x00\x00\xff"))
    # TGA: the one kind read (uncompressed 32-bit, top-left origin, 8 alpha bits, after an id
    # field), and two it refuses (run-length 24-bit, 8-bit grey).
    put("image_tga", "raw32.tga", struct.pack("<BBBHHBHHHHBB", 3, 0, 2, 0, 0, 0, 0, 0, 2, 2, 32, 0x28)
        + b"id!" + bytes(range(16)))
    put("image_tga", "rle24.tga", struct.pack("<BBBHHBHHHHBB", 0, 0, 10, 0, 0, 0, 0, 0, 3, 1, 24, 0x20)
        + b"\x82\x10\x20\x30")
    put("image_tga", "gray8.tga", struct.pack("<BBBHHBHHHHBB", 0, 0, 3, 0, 0, 0, 0, 0, 2, 1, 8, 0) + b"\x00\xff")
    # GIF: 2x2, four colours, each pixel after a clear code so the code width stays 3 bits.
    codes = [4, 0, 4, 1, 4, 2, 4, 3, 5]
    bits = 0
    for i, code in enumerate(codes):
        bits |= code << (3 * i)
    lzw = bits.to_bytes((3 * len(codes) + 7) // 8, "little")
    gif = (b"GIF89a" + struct.pack("<HHBBB", 2, 2, 0x81, 0, 0) + b"\x00\x00\x00\xff\x00\x00\x00\xff\x00\x00\x00\xff"
           + b"\x21\xf9\x04\x01\x0a\x00\x00\x00"
           + b"\x2c" + struct.pack("<HHHHB", 0, 0, 2, 2, 0) + b"\x02" + bytes([len(lzw)]) + lzw + b"\x00\x3b")
    put("image_gif", "2x2.gif", gif)
    put("image_gif", "interlaced.gif", gif.replace(b"\x2c" + struct.pack("<HHHHB", 0, 0, 2, 2, 0),
                                                   b"\x2c" + struct.pack("<HHHHB", 0, 0, 2, 2, 0x40)))
    # The file target: a selector byte (extension, and 0x80 for the alpha search), then the file.
    for selector, folder, name in ((0x80, "image_png", "rgba2x2.png"), (0x02, "image_gif", "2x2.gif"),
                                   (0x83, "image_tga", "raw32.tga"), (0x04, "image_tga", "rle24.tga")):
        with open(os.path.join(CORPUS, folder, name), "rb") as f:
            put("image_file", "%02x-%s" % (selector, name), bytes([selector]) + f.read())
    maker = os.path.join(HERE, "make_jpeg_seed.c")
    with tempfile.TemporaryDirectory() as tmp:
        exe = os.path.join(tmp, "make_jpeg_seed")
        try:
            subprocess.run(["cc", maker, "-o", exe, "-ljpeg"], check=True)
            for name, args in (("gray8x8.jpg", ["1"]), ("rgb16x8.jpg", ["3"])):
                data = subprocess.run([exe] + args, check=True, stdout=subprocess.PIPE).stdout
                put("image_jpeg", name, data)
                put("image_file", "81-" + name, b"\x81" + data)
        except (OSError, subprocess.CalledProcessError) as error:
            print("no JPEG seeds:", error, file=sys.stderr)


def sound_seeds():
    def riff(chunks):
        body = b"WAVE" + b"".join(k + struct.pack("<I", len(d)) + d + (b"\x00" if len(d) % 2 else b"") for k, d in chunks)
        return b"RIFF" + struct.pack("<I", len(body)) + body
    fmt16 = struct.pack("<HHIIHH", 1, 1, 22050, 44100, 2, 16)
    fmt8 = struct.pack("<HHIIHH", 1, 2, 11025, 22050, 2, 8)
    put("wav", "mono16.wav", riff([(b"fmt ", fmt16), (b"data", struct.pack("<8h", 0, 1000, -1000, 32767, -32768, 5, 6, 7))]))
    put("wav", "stereo8.wav", riff([(b"fmt ", fmt8), (b"LIST", b"junk"), (b"data", bytes(range(0, 255, 17)))]))
    put("wav", "cache.wav", riff([(b"fmt ", fmt16), (b"dep ", struct.pack("<H", 5) + b"a.ogg" + struct.pack("<Q", 1234)),
                                  (b"xor ", b"\x3c"), (b"data", bytes(16))]))
    put("wav", "nofmt.wav", riff([(b"data", bytes(6))]))
    for encoding, name in ((1, "mulaw"), (2, "linear8"), (3, "linear16")):
        put("au", name + ".au", b".snd" + struct.pack(">IIIII", 24, 8, encoding, 8000, 1) + bytes(range(8)))
    put("au", "stereo-unknown-size.au", b".snd" + struct.pack(">IIIII", 28, 0xFFFFFFFF, 3, 44100, 2) + b"note" + bytes(8))
    with open(os.path.join(ROOT, "tests/data/sound/tone-mono-22050.ogg"), "rb") as f:
        put("ogg", "tone.ogg", f.read())


def other_seeds():
    put("settings", "settings.ini", "ScreenMode=1\r\nMusicVolume=80\n[Sub]\nName=4294967295\n; note\n[]\n=5\nbad\nX=-1\n")
    put("settings", "empty.ini", "")
    put("command_line", "plain.txt", '/usr/bin/quorvane -windowed sound=0 "path with blanks"=x =dropped')
    put("command_line", "quoted.txt", '"C:\\Program Files\\q.exe" "a b" c="d e" "unclosed')
    put("command_line", "empty.txt", "")
    put("command_line", "argv.bin", b"/usr/bin/quorvane\0-windowed\0name=a b\0=x\0q\"uote=1=2\0\0tab\tbed")
    put("safe_format", "owl.txt", "Hello %s, you scored %d. Letter %c? %-8s|%05d%%")
    put("safe_format", "refused.txt", "%s %d %s %d %c %s %n")
    # The player file target: a leading 0 decodes the raw bytes, anything else edits a good file
    # with (4-byte offset, value) pairs.
    put("player_file", "raw.bin", b"\x00" + bytes(64))
    put("player_file", "good.bin", b"\x01")
    edits = [(0, 5), (1 | (36 << 1), 11), (1 | (284 << 1), 46), (1 | (300 << 1), 16), ((8 + 896300) << 1, 1)]
    put("player_file", "edits.bin", b"\x01" + b"".join(struct.pack("<IB", o, v) for o, v in edits))


if __name__ == "__main__":
    text_seeds()
    xml_seeds()
    font_seeds()
    pak_seeds()
    image_seeds()
    sound_seeds()
    other_seeds()
