#!/usr/bin/env python3
"""Builds the blank prefix template FXXXX_Prefixe.txt from the AD1C country file cty.dat.

The program looks a callsign up in the prefix file by taking the first line, in file order,
whose prefix (columns 1-5, trimmed) begins the callsign, and it keeps the marks of a DXCC
entity on the entity's own line (the line whose prefix equals the entity code in columns
27-32). It also checks at start-up that the template is exactly 50700 bytes long. This script
turns the country file into a template that satisfies all of that, deterministically:

  line layout (CR LF after each line, Windows-1252):
    1-6   prefix, left-aligned, blank-padded
    7     blank
    8-24  seventeen marks "0", one per band
    25-26 blanks
    27-32 entity code, blank-padded
    33    blank
    34-   entity name

How the country file is read:
  * WAE-only and other non-DXCC entries (primary prefix starting with "*") are skipped; their
    callsigns resolve through the shorter prefixes of the DXCC entity they belong to.
  * Exact-call entries ("=CALL") are not prefixes and are skipped; zone and other overrides
    written after a prefix ("(14)", "[27]", "<lat/lon>", "{EU}", "~tz~") are removed.
  * Only prefixes of letters and digits of at most 5 characters are kept: the look-up reads
    5 columns, so a longer prefix could never match as written.
  * "TW" is given to France: it is one of the French prefixes the entry checks treat as France
    (the country file files it under Wallis & Futuna).

Entity codes: the primary prefix of the entity in the country file. When that is not a plain
prefix ("FT/g", "HK0/a") or is a prefix of another entity ("CE9" of Antarctica is a South
Shetland prefix), the code is one of the entity's own prefixes: the one sharing the longest
beginning with the primary prefix, then the shortest, then the first listed. A plain primary
prefix that the entity does not list itself ("UA", "4U1U") is added as a line of the entity.
Entities reachable only through exact calls and without a usable code are left out.

Choice of lines, so that the file is exactly 50700 bytes:
  1. A prefix whose nearest shorter prefix in the file belongs to the same entity changes no
     look-up and is left out ("DL1" under "DL").
  2. The entity codes and the French prefixes are always kept, then every prefix of the French
     ITU blocks (F, HW-HY, TH, TK, TM, TO-TQ, TV-TX), whatever its entity: one left out would
     fall back to France (the TAAF islands and the French Antarctic bases have many "FTnX"
     prefixes). The other prefixes are taken shortest first (a
     short prefix covers more callsigns); among prefixes of one length, those of the entities
     that have the most of them first (Asiatic Russia's "UA0", "RA9"... before the alternative
     prefixes of small islands), in the order of the country file; as long as they fit.
  3. The bytes that remain (fewer than one line) are made up by one trailing blank added to
     the descriptions of the last lines of the file.
Lines are ordered by prefix with every longer prefix before the shorter one that begins it
("FG" before "F"), so that every line can be reached by the first-match rule.

The script checks the result (size, layout, reachability, entity codes, known callsigns) and
exits with an error instead of writing a file that fails a check.

Usage: make_prefix_file.py [--cty /usr/share/hamradio-files/cty.dat] [--output FXXXX_Prefixe.txt]
"""

import argparse
import re
import sys

TARGET_SIZE = 50700
MARKS = "0" * 17
PREFIX_WIDTH = 6
LOOKUP_WIDTH = 5
FRENCH_PREFIXES = ["F", "TH", "TM", "TP", "TQ", "TV", "TW", "HW", "HX", "HY"]
# The ITU prefix blocks of France.
FRENCH_BLOCKS = ["F", "HW", "HX", "HY", "TH", "TK", "TM", "TO", "TP", "TQ", "TV", "TW", "TX"]
# Prefixes given to another entity than the country file says.
REASSIGNED = {"TW": "F"}
# Callsigns and the entity code they must resolve to.
KNOWN_CALLS = {
    "F5ABC": "F", "TM5JNM": "F", "TK5XX": "TK", "FG5XY": "FG", "FR5AB": "FR", "FM5AA": "FM",
    "FY5AA": "FY", "ON4AA": "ON", "DL1ABC": "DL", "G4ABC": "G", "EA8AB": "EA8", "K1ABC": "K",
    "HB9AA": "HB", "I1ABC": "I", "FT5XA": "FT0X", "FT4YM": "3Y", "UA9AA": "UA9", "UA3AA": "UA",
}
PLAIN = re.compile(r"^[A-Z0-9]+$")


class Failure(Exception):
    pass


def parse_cty(text):
    """Returns the entities of the country file, in file order: (name, primary, [prefixes])."""
    entities = []
    for record in text.split(";"):
        record = record.strip()
        if not record:
            continue
        head, _, body = record.partition("\n")
        fields = head.split(":")
        if len(fields) < 8:
            raise Failure("unreadable entity header: %r" % head)
        name = fields[0].strip()
        primary = fields[7].strip()
        prefixes = []
        for item in body.replace("\r", "").replace("\n", "").split(","):
            item = item.strip()
            if not item or item.startswith("="):
                continue
            item = re.sub(r"[\(\[<{~].*$", "", item)
            if item and item not in prefixes:
                prefixes.append(item)
        entities.append((name, primary, prefixes))
    if not entities:
        raise Failure("no entity found in the country file")
    return entities


def common_length(a, b):
    n = 0
    while n < len(a) and n < len(b) and a[n] == b[n]:
        n += 1
    return n


def build_entities(parsed):
    """Entities with their code and usable prefixes, and the owner (entity code) of each prefix."""
    dxcc = [(n, p, [x for x in prefixes if PLAIN.match(x) and len(x) <= LOOKUP_WIDTH])
            for (n, p, prefixes) in parsed if not p.startswith("*")]
    owner_name = {}
    for name, _, prefixes in dxcc:
        for p in prefixes:
            if p in owner_name:
                raise Failure("prefix %s belongs to %s and %s" % (p, owner_name[p], name))
            owner_name[p] = name
    for prefix, code in REASSIGNED.items():
        owner_name.pop(prefix, None)

    entities = []  # (name, code, [prefixes]) in country-file order
    for name, primary, prefixes in dxcc:
        prefixes = [p for p in prefixes if p not in REASSIGNED]
        code = None
        if PLAIN.match(primary) and len(primary) <= LOOKUP_WIDTH and owner_name.get(primary, name) == name:
            code = primary
        elif prefixes:
            stem = primary.split("/")[0]
            order = {p: i for i, p in enumerate(prefixes)}
            code = min(prefixes, key=lambda p: (-common_length(p, stem), len(p), order[p]))
        if code is None:
            continue
        if code not in prefixes:
            prefixes = [code] + prefixes
        entities.append((name, code, prefixes))

    codes = {code for _, code, _ in entities}
    if len(codes) != len(entities):
        raise Failure("two entities share an entity code")
    for prefix, code in REASSIGNED.items():
        for i, (name, c, prefixes) in enumerate(entities):
            if c == code:
                prefixes.append(prefix)
                break
        else:
            raise Failure("no entity %s for the prefix %s" % (code, prefix))

    owner = {}
    names = {}
    for name, code, prefixes in entities:
        names[code] = name
        for p in prefixes:
            if p in owner and owner[p] != code:
                raise Failure("prefix %s belongs to %s and %s" % (p, owner[p], code))
            owner[p] = code
    return entities, owner, names


def nearest_ancestor(prefix, chosen):
    for n in range(len(prefix) - 1, 0, -1):
        if prefix[:n] in chosen:
            return prefix[:n]
    return None


def reduce(chosen, owner, kept):
    """Leaves out every prefix (not in `kept`) whose nearest shorter prefix has the same entity."""
    return {p for p in chosen
            if p in kept or (lambda a: a is None or owner[a] != owner[p])(nearest_ancestor(p, chosen))}


def line_for(prefix, code, name):
    return "%s %s  %s %s" % (prefix.ljust(PREFIX_WIDTH), MARKS, code.ljust(PREFIX_WIDTH), name)


def file_order(prefixes):
    # "\x7f" sorts after every letter and digit, so "FG" comes before "F".
    return sorted(prefixes, key=lambda p: p + "\x7f")


def is_french(prefix):
    """Whether the prefix lies in a French ITU block (a missing line would fall back to France)."""
    return any(prefix.startswith(block) for block in FRENCH_BLOCKS)


def choose(entities, owner, names):
    mandatory = {code for _, code, _ in entities} | set(FRENCH_PREFIXES)
    missing = [p for p in FRENCH_PREFIXES if p not in owner]
    if missing:
        raise Failure("French prefixes missing from the country file: %s" % ", ".join(missing))

    def size_of(chosen):
        return sum(len(line_for(p, owner[p], names[owner[p]])) + 2 for p in chosen)

    everything = reduce(set(owner), owner, mandatory)
    chosen = reduce(set(mandatory), owner, mandatory)
    if size_of(chosen) > TARGET_SIZE:
        raise Failure("the entity lines alone exceed %d bytes" % TARGET_SIZE)

    # Shortest first; within one length, one prefix of each entity in turn.
    per_tier = {}
    for _, code, prefixes in entities:
        for p in prefixes:
            if p in everything and p not in mandatory and owner[p] == code:
                per_tier.setdefault((len(p), code), []).append(p)
    candidates = []
    for entity_index, (_, code, prefixes) in enumerate(entities):
        for length in range(1, LOOKUP_WIDTH + 1):
            tier = per_tier.get((length, code), [])
            for rank, p in enumerate(tier):
                candidates.append((not is_french(p), length, -len(tier), entity_index, rank, p))
    candidates.sort()

    size = size_of(chosen)
    for *_, p in candidates:
        trial = reduce(chosen | {p}, owner, mandatory)
        if trial == chosen:
            continue
        trial_size = size_of(trial)
        if trial_size <= TARGET_SIZE:
            chosen, size = trial, trial_size
    return chosen, size


def build_lines(chosen, owner, names, size):
    lines = [line_for(p, owner[p], names[owner[p]]) for p in file_order(chosen)]
    remaining = TARGET_SIZE - size
    if remaining < 0 or remaining > len(lines):
        raise Failure("cannot make up %d bytes" % remaining)
    for i in range(len(lines) - remaining, len(lines)):
        lines[i] += " "
    return lines


def resolve(lines, text):
    for line in lines:
        prefix = line[:LOOKUP_WIDTH].strip()
        if prefix and text.startswith(prefix):
            return line
    return None


def check(lines, data):
    if len(data) != TARGET_SIZE:
        raise Failure("the file is %d bytes, not %d" % (len(data), TARGET_SIZE))
    seen = []
    for number, line in enumerate(lines, 1):
        prefix = line[:PREFIX_WIDTH].strip()
        code = line[26:32].strip()
        if (line[6] != " " or line[7:24] != MARKS or line[24:26] != "  " or line[32] != " "
                or not PLAIN.match(prefix) or len(prefix) > LOOKUP_WIDTH or not code or len(line) < 34):
            raise Failure("line %d is not in the layout: %r" % (number, line))
        for earlier in seen:
            if prefix.startswith(earlier):
                raise Failure("line %d (%s) is hidden by the earlier prefix %s" % (number, prefix, earlier))
        seen.append(prefix)
    for line in lines:
        code = line[26:32].strip()
        own = resolve(lines, code)
        if own is None or own[:PREFIX_WIDTH].strip() != code:
            raise Failure("the entity code %s does not lead to its own line" % code)
    for prefix in FRENCH_PREFIXES:
        found = resolve(lines, prefix + "1ABC")
        if found is None or found[26:32].strip() != "F":
            raise Failure("the French prefix %s does not resolve to F" % prefix)
    for call, code in KNOWN_CALLS.items():
        found = resolve(lines, call)
        if found is None or found[26:32].strip() != code:
            raise Failure("%s does not resolve to %s" % (call, code))


def generate(cty_text):
    entities, owner, names = build_entities(parse_cty(cty_text))
    chosen, size = choose(entities, owner, names)
    lines = build_lines(chosen, owner, names, size)
    try:
        data = "".join(line + "\r\n" for line in lines).encode("cp1252")
    except UnicodeEncodeError as error:
        raise Failure("a description has no Windows-1252 form: %s" % error)
    check(lines, data)
    return data


def main():
    parser = argparse.ArgumentParser(description="Builds FXXXX_Prefixe.txt from cty.dat.")
    parser.add_argument("--cty", default="/usr/share/hamradio-files/cty.dat")
    parser.add_argument("--output", default="FXXXX_Prefixe.txt")
    args = parser.parse_args()
    try:
        with open(args.cty, "r", encoding="latin-1", newline="") as source:
            data = generate(source.read())
    except (OSError, Failure) as error:
        print("make_prefix_file: %s" % error, file=sys.stderr)
        return 1
    with open(args.output, "wb") as output:
        output.write(data)
    print("make_prefix_file: %s written, %d lines, %d bytes" % (args.output, data.count(b"\r\n"), len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
