#!/usr/bin/env python3
"""Builds data/spelling.txt, the spelling choices of LANGUAGE2.

Each line holds a correctly spelt word and three misspellings of the kind people really
make (a doubled or single letter, "ie" for "ei", "-ance" for "-ence", a swapped vowel),
none of them a dictionary word and no two alike. Lines are ordered by the length of the
correct spelling; the test asks lengths 7 to 14. Run by hand after make_dictionary.py;
the output is committed:

    python3 tools/words/make_spelling.py [dictionary] [output]
"""
import random
import sys

DICTIONARY = "data/dictionary.txt"
OUTPUT = "data/spelling.txt"
MAX_ENTRIES = 394
PER_LENGTH = 24          # the test needs at least seven per length; more keeps it fresh
LENGTHS = range(7, 15)

WORDS = """
achieve acquire believe bizarre dilemma ecstasy finally foreign forward further liaison
pharaoh receive hygiene jewelry leisure license precede tyranny vicious villain genuine
ancient average balance cabbage caramel cartoon certain chimney climate comfort crystal
cuisine dessert disease example grammar gravity harmony journey library luggage machine
marriage measure message miracle monarch nervous neutral process quarrel science several
argument business calendar cemetery familiar happened honorary humorous lollipop occasion
occurred pavilion publicly referred remember separate surprise tendency tomorrow wherever
judgment maneuver mortgage nuisance relevant schedule scissors sergeant souvenir thorough
absolute accurate accident aluminum bachelor biscuit boundary category chemical colonel
basically beginning colleague committee conscious curiosity disappear embarrass existence
glamorous interrupt knowledge preferred religious supersede therefore threshold hierarchy
hypocrisy personnel privilege recognize reference sincerely technique vegetable amateur
apologize attendance beautiful benefited cafeteria carefully chocolate delicious discipline
aggressive apparently appearance completely definitely disappoint government millennium
noticeable occurrence persistent politician possession propaganda resistance successful
unforeseen camouflage experience exaggerate exhilarate hemorrhage parliament playwright
restaurant sufficient acceptable accidental additional commitment convenient dictionary
accommodate environment fluorescent foreseeable immediately independent bureaucracy
catastrophe connoisseur deteriorate maintenance mischievous opportunity possibility
temperature unnecessary accompanied acquisition advertising anniversary beneficiary
broccoli consistent enthusiasm equipment guarantee necessary occasionally perseverance
idiosyncrasy incidentally irresistible congratulate entrepreneur intelligence independence
acquaintance advantageous questionable refrigerator bibliography onomatopoeia kindergarten
occasionally embarrassing accidentally acknowledged argumentative conscientious
unfortunately accommodation questionnaire miscellaneous inconvenience extraordinary
pronunciation embarrassment disappearance controversial circumference parallelogram
approximately concentration environmental irreplaceable irresponsible knowledgeable
mathematician mischievously neighborhoods perpendicular predominantly sophisticated
spontaneously surreptitious temperamental unconsciously vulnerability unnecessarily
acknowledgment responsibility correspondence recommendation simultaneously characteristic
accomplishment administration interpretation overwhelmingly photosynthesis representative
unquestionably accommodations archaeological contemporaries disappointment discrimination
embarrassments parallelograms pharmaceutical possessiveness questionnaires reconnaissance
rehabilitation superintendent thermodynamics transcendental investigations encouragements
disciplinary exaggeration headquarters hypothetical intellectual practitioner
recommending relationship sufficiently surveillance thoroughness unbelievable unmistakable
nevertheless accomplished commissioner extinguisher contemptible appropriate desperately
embarrassed exceptional familiarize hospitality millionaire necessarily permissible
perspective predecessor preposition recommended resemblance scholarship significant
superfluous susceptible thermometer vaccination withholding
""".split()

VOWELS = "AEIOU"
# No "-ize" to "-ise": the British form is another spelling, not a mistake.
SUFFIXES = [("ANCE", "ENCE"), ("ENCE", "ANCE"), ("ANT", "ENT"), ("ENT", "ANT"),
            ("ABLE", "IBLE"), ("IBLE", "ABLE"), ("ARY", "ERY"), ("ERY", "ARY"),
            ("CEDE", "CEED"), ("SEDE", "CEDE"), ("TION", "SION"),
            ("OUS", "US"), ("OR", "ER"), ("ER", "OR"), ("LY", "LEY"), ("ALLY", "LY")]


def letter_slips(word):
    """Double or single letters, "ie"/"ei" and silent-letter slips: the likeliest ones."""
    out = []
    for i in range(1, len(word)):
        if word[i] == word[i - 1] and word[i] not in VOWELS:
            out.append(word[:i] + word[i + 1:])
    for i in range(1, len(word) - 1):
        c = word[i]
        if c not in VOWELS and c != word[i - 1] and c != word[i + 1] and c not in "HWXYJQVKZ":
            if word[i - 1] in VOWELS and word[i + 1] in VOWELS:
                out.append(word[:i] + c + word[i:])
    for a, b in (("IE", "EI"), ("EI", "IE")):
        at = word.find(a)
        if at >= 0:
            out.append(word[:at] + b + word[at + 2:])
    for a, b in SUFFIXES:
        if word.endswith(a) and len(word) > len(a) + 2:
            out.append(word[:-len(a)] + b)
    for silent, spoken in (("RH", "R"), ("SC", "S"), ("GN", "N")):
        at = word.find(silent)
        if at > 0:
            out.append(word[:at] + spoken + word[at + 2:])
    return out


def vowel_slips(word):
    """One vowel between consonants written as another, never the first letter; vowels next
    to vowels ("OO", "EA") are left alone, as people rarely get those wrong."""
    swaps = {"A": "E", "E": "A", "I": "E", "O": "A", "U": "O"}
    out = []
    for i in range(1, len(word) - 1):
        c = word[i]
        if c in swaps and word[i - 1] not in VOWELS and word[i + 1] not in VOWELS:
            out.append(word[:i] + swaps[c] + word[i + 1:])
    return out


def main():
    dictionary_path = sys.argv[1] if len(sys.argv) > 1 else DICTIONARY
    output = sys.argv[2] if len(sys.argv) > 2 else OUTPUT
    try:
        with open(dictionary_path, encoding="ascii") as f:
            dictionary = set(line.rstrip("\n") for line in f)
    except OSError as error:
        sys.exit(f"cannot read the dictionary {dictionary_path}: {error.strerror} (run make_dictionary.py first)")
    by_length = {n: [] for n in LENGTHS}
    for word in dict.fromkeys(w.upper() for w in WORDS):
        if len(word) in by_length and word in dictionary:
            by_length[len(word)].append(word)
    lines = []
    for n in LENGTHS:
        picked = 0
        for word in sorted(by_length[n]):
            rng = random.Random(word)          # same output on every run
            first, second = letter_slips(word), vowel_slips(word)
            rng.shuffle(first)
            rng.shuffle(second)
            wrong = []
            for candidate in first + second:
                if candidate != word and candidate not in dictionary and candidate not in wrong:
                    wrong.append(candidate)
                if len(wrong) == 3:
                    break
            if len(wrong) < 3 or picked == PER_LENGTH:
                continue
            lines.append(",".join([word] + wrong))
            picked += 1
        if picked < 20:
            sys.exit(f"only {picked} spelling entries of length {n}")
    if len(lines) > MAX_ENTRIES:
        sys.exit(f"{len(lines)} entries, more than the {MAX_ENTRIES} the game holds")
    with open(output, "w", encoding="ascii", newline="\n") as f:
        f.write("".join(line + "\n" for line in lines))
    print(f"{len(lines)} entries written to {output}")


if __name__ == "__main__":
    main()
