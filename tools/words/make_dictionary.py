#!/usr/bin/env python3
"""Builds data/dictionary.txt, the word list the typed-word tests check against.

Reads Debian's American English word list (package wamerican-large) and keeps plain
English words only: lower-case ASCII entries (capitalised entries are names, places and
acronyms), no apostrophes, no abbreviations, no Roman numerals and nothing rude, since
LANGUAGE3 builds its letters from random short words and every word is a valid answer.
Output: upper case, ordered by length and then byte order, one word per line, each line
ending in a line feed. Run by hand; the output is committed:

    python3 tools/words/make_dictionary.py [source] [output]
"""
import codecs
import re
import sys

SOURCE = "/usr/share/dict/american-english-large"
OUTPUT = "data/dictionary.txt"
MAX_WORDS = 173600   # slots the game reserves for the dictionary
MAX_LENGTH = 30      # the game's length table covers lengths 0..30

# One-letter words: the list carries every letter of the alphabet as an entry.
ONE_LETTER = {"a", "i"}

# Two-letter entries are mostly abbreviations, so the real words are listed.
TWO_LETTERS = set("""
ad ah am an as at aw ax ay be by do eh em en ex go ha he hi hm ho id if in is it la lo
ma me mi mu my no nu of oh ok om on or ow ox oy pa pi re sh so ta ti to uh um up us we
ya ye yo
""".split())

# Short abbreviations that contain a vowel, so the vowel rule below cannot catch them.
ABBREVIATIONS = set("""
abl abr acc adj adv agr alg alk amt ans atm att aud aug avg avn cen cir cit civ col com
cor cos dec def deg del dep der dir dis div dob doz dup enc eng enl esp est etc exc exp
exr ext fac fec fem fol fut ger gov hyp ign inc ind inf ins int inv isl jun jus lib liq
med mem mes mic mil min mir mon mos nav neg nos obj obs oct opp ord org pol pos rec ref
reg rel rem rep req res rev riv sci sec sem seq ser soc sup sym syn tel ter typ ult uni
usu val var vel viz voc vol yrs cyl
abbr acct agcy assn asst atty attn avdp bros capt corp dept diam encl engr exch govt
hosp inst misc natl recd secy supt univ pres prov mtge mdse pkwy wkly mfrs ques retd
rept ency cert biol bibl ibid illus treas
""".split())

# Words without a vowel that are real words all the same.
NO_VOWEL_WORDS = {"brr", "hmm", "shh", "nth", "psst", "cwm", "crwth", "tsk", "pfft"}

# Rude words and slurs, kept ROT13-encoded so the source reads clean.
RUDE = set(codecs.decode(w, "rot13") for w in """
snt tnl lvq jbt wrj gvg phz nff gheq cvff fuvg shpx pbpx phag qvpx ovgpu jubers fyhg
gjng snttbg snttbgf nffubyr ohyyfuvg arteb avttre avttref avttre'f ebgf cvffrq fuvggl
phagf pbpxf qvpxf gvgf fyhgf jubervat onfgneq onfgneqf jnax jnaxre cevpx cevpxf qvyqb
xvxr xvxrf fcvp fcvpf puvax puvaxf tbbx tbbxf
""".split())

ROMAN = re.compile(r"^m{0,4}(cm|cd|d?c{0,3})(xc|xl|l?x{0,3})(ix|iv|v?i{0,3})$")
ROMAN_WORDS = {"mix", "mid", "dim", "civic", "lid", "mild", "vim", "di", "mi"}


def keep(word):
    if not re.fullmatch(r"[a-z]+", word) or len(word) > MAX_LENGTH:
        return False
    if word in RUDE:
        return False
    if len(word) == 1:
        return word in ONE_LETTER
    if len(word) == 2:
        return word in TWO_LETTERS
    if word in ABBREVIATIONS:
        return False
    if ROMAN.match(word) and word not in ROMAN_WORDS:
        return False
    # Vowel-less entries are abbreviations ("mfg", "bldg"); "y" counts as a vowel ("myth").
    if not re.search(r"[aeiouy]", word) and word not in NO_VOWEL_WORDS:
        return False
    if len(word) == 3 and not re.search(r"[aeiou]", word) and word not in NO_VOWEL_WORDS and word not in (
            "cry dry fly fry gym ply pry shy sky sly spy sty try why wry".split()):
        return False
    return True


def main():
    source = sys.argv[1] if len(sys.argv) > 1 else SOURCE
    output = sys.argv[2] if len(sys.argv) > 2 else OUTPUT
    words = set()
    try:
        f = open(source, encoding="utf-8")
    except OSError as error:
        sys.exit(f"cannot read the word list {source}: {error.strerror} (install wamerican-large)")
    with f:
        for line in f:
            word = line.rstrip("\n")
            if word == "I":
                words.add("I")
            elif keep(word):
                words.add(word.upper())
    ordered = sorted(words, key=lambda w: (len(w), w.encode("ascii")))
    if len(ordered) > MAX_WORDS:
        sys.exit(f"{len(ordered)} words, more than the {MAX_WORDS} the game holds")
    with open(output, "w", encoding="ascii", newline="\n") as f:
        for word in ordered:
            f.write(word + "\n")
    print(f"{len(ordered)} words written to {output}")


if __name__ == "__main__":
    main()
