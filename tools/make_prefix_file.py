#!/usr/bin/env python3
"""Builds the blank prefix template FXXXX_Prefixe.txt from the AD1C country file cty.dat, and
the report of its choices, tools/prefix_choices.txt.

The template is the program's fallback country list: when the country file of the
hamradio-files package is not installed, the program resolves callsigns with the prefixes of
this file alone (longest matching prefix, no exact calls). It also keeps the marks of every
DXCC entity on the entity's own line (the line whose prefix equals the entity code in columns
27-32), whichever source resolved the callsign, and it checks at start-up that the template is
exactly 50700 bytes long. This script turns the country file into a template that satisfies
all of that, deterministically:

  line layout (CR LF after each line, Windows-1252):
    1-6   prefix, left-aligned, blank-padded
    7     blank
    8-24  seventeen marks "0", one per band
    25-26 blanks
    27-32 entity code, blank-padded
    33    blank
    34-   entity name, as the country file spells it

How the country file is read (the program reads it the same way, in logstore/country_file):
  * WAE-only entries (primary prefix starting with "*": Sicily, European Turkey, Vienna Intl
    Ctr, ...) are not DXCC entities: their prefixes and exact calls count for the DXCC entity
    they belong to (WAE_PARENTS).
  * Zone and other overrides written after a prefix ("(14)", "[27]", "<lat/lon>", "{EU}",
    "~tz~") are removed.
  * "TW" is given to France: it is one of the French prefixes the entry checks treat as France
    (the country file files it under Wallis & Futuna).

How a callsign is resolved (callsign_parts below, EntityResolver in the program): an exact call
of the country file first; else the callsign is cut at "/", the suffixes that name no country
(/P, /M, /A, /QRP, /QRPP, /LH and numbers) are set aside, /MM and /AM make it an entity of none,
and of the parts left the shortest (the first on a tie) is tried first: the longest prefix of
the country file that begins it gives the entity ("F/ON4XXX" and "ON4XXX/F" are France).

Entity codes: the primary prefix of the entity. When that is not a plain prefix ("FT/g",
"HK0/a") or is another entity's prefix (Antarctica's "CE9" belongs to the South Shetlands), the
code is one of the entity's own prefixes: the one sharing the longest beginning with the
primary prefix, then the shortest, then the first listed; so too when the primary prefix is
not one of the entity's own and the country file gives the callsigns it begins to another
entity (Sardinia "IS0", not "IS", whose IS2xx are Italian). An entity with no prefix of its own
(Conway Reef "3D2/c", Mount Athos "SV/a") keeps its primary prefix in upper case ("3D2/C"): no
callsign begins with it, so its line only holds the entity's marks. A plain primary prefix that
the entity does not list itself ("UA", "4U1U") is added as a line of the entity.

Choice of lines, so that the file is exactly 50700 bytes:
  1. The entity codes and the French prefixes are always kept, then every prefix of the French
     ITU blocks (F, HW-HY, TH, TK, TM, TO-TQ, TV-TX), whatever its entity: one left out would
     fall back to France and ask for a department.
  2. Then the alternative prefixes by what they bring on the master callsign file MASTER.SCP:
     each time, the prefix that makes the most of its callsigns resolve as with the country
     file (callsigns set right minus callsigns set wrong), as long as it brings any and fits.
  3. Then, while lines fit, the other prefixes that change a look-up and set no master
     callsign wrong, the most used in the master file first, then the shortest.
  4. A prefix whose nearest shorter prefix in the file belongs to the same entity changes no
     look-up and is left out ("DL1" under "DL").
  5. The bytes that remain (fewer than one line) are made up by one trailing blank added to
     the descriptions of the last lines of the file.
Lines are ordered by prefix with every longer prefix before the shorter one that begins it
("FG" before "F"), so that the first matching line is also the longest.

The script checks the result (size, layout, reachability, entity codes, known callsigns) and
exits with an error instead of writing a file that fails a check.

Usage: make_prefix_file.py [--cty cty.dat] [--master MASTER.SCP] [--output FXXXX_Prefixe.txt]
                           [--report prefix_choices.txt]
"""

import argparse
import heapq
import re
import sys

TARGET_SIZE = 50700
MARKS = "0" * 17
PREFIX_WIDTH = 6
FRENCH_PREFIXES = ["F", "TH", "TM", "TP", "TQ", "TV", "TW", "HW", "HX", "HY"]
# The ITU prefix blocks of France.
FRENCH_BLOCKS = ["F", "HW", "HX", "HY", "TH", "TK", "TM", "TO", "TP", "TQ", "TV", "TW", "TX"]
# Prefixes given to another entity (by its primary prefix) than the country file says.
REASSIGNED = {"TW": "F"}
# WAE-only entries and the DXCC entity (primary prefix) they belong to.
WAE_PARENTS = {"*4U1V": "OE", "*GM/s": "GM", "*IG9": "I", "*IT9": "I", "*JW/b": "JW", "*TA1": "TA"}
# Suffixes after "/" that name no country; maritime and aeronautical mobile count as no entity.
NO_COUNTRY_SUFFIXES = {"P", "M", "A", "QRP", "QRPP", "LH"}
MOBILE_SUFFIXES = {"MM", "AM"}
MOBILE = "(mobile)"
# Callsigns and the entity code they must resolve to through the template alone.
KNOWN_CALLS = {
    "F5ABC": "F", "TM5JNM": "F", "TK5XX": "TK", "FG5XY": "FG", "FR5AB": "FR", "FM5AA": "FM",
    "FY5AA": "FY", "ON4AA": "ON", "DL1ABC": "DL", "G4ABC": "G", "EA8AB": "EA8", "K1ABC": "K",
    "HB9AA": "HB", "I1ABC": "I", "FT5XA": "FT0X", "FT4YM": "3Y", "UA9AA": "UA9", "UA3AA": "UA",
    "KP3AA": "KP4", "NP2X": "KP2", "AH6AA": "KH6", "AH2A": "KH2", "9M8AA": "9M6", "CQ8AA": "CU",
    "IM0AA": "IS0", "SV9AA": "SV9", "SX5AA": "SV5", "ON4XXX/F": "F", "F/ON4XXX": "F",
    "EA8/DL1ABC": "EA8", "DL1ABC/P": "DL",
}
PLAIN = re.compile(r"^[A-Z0-9]+$")


class Failure(Exception):
    pass


def parse_cty(text):
    """The entries of the country file, in file order: (name, primary, [prefixes], [exact calls])."""
    entries = []
    for record in text.split(";"):
        record = record.strip()
        if not record:
            continue
        head, _, body = record.partition("\n")
        fields = head.split(":")
        if len(fields) < 8:
            raise Failure("unreadable entity header: %r" % head)
        prefixes, exact = [], []
        for item in body.replace("\r", "").replace("\n", "").split(","):
            item = re.sub(r"[\(\[<{~].*$", "", item.strip())
            if item.startswith("="):
                exact.append(item[1:])
            elif item and item not in prefixes:
                prefixes.append(item)
        entries.append((fields[0].strip(), fields[7].strip(), prefixes, exact))
    if not entries:
        raise Failure("no entity found in the country file")
    return entries


def callsign_parts(call):
    """The parts of a callsign to try, in order, or MOBILE for a maritime or aeronautical mobile."""
    parts = [p for p in call.split("/") if p]
    if any(p in MOBILE_SUFFIXES for p in parts[1:]):
        return MOBILE
    kept = parts[:1] + [p for p in parts[1:] if p not in NO_COUNTRY_SUFFIXES and not p.isdigit()]
    return [kept[i] for i in sorted(range(len(kept)), key=lambda i: (len(kept[i]), i))]


def longest(table, text):
    for n in range(len(text), 0, -1):
        owner = table.get(text[:n])
        if owner is not None:
            return text[:n], owner
    return None, None


def resolve(prefixes, exact, call):
    """The entity of a callsign: exact calls, then the longest prefix; None when nothing matches."""
    call = call.strip().upper()
    if call in exact:
        return exact[call]
    parts = callsign_parts(call)
    if parts == MOBILE:
        return MOBILE
    for part in parts:
        _, owner = longest(prefixes, part)
        if owner is not None:
            return owner
    return None


def country_tables(entries):
    """The country file's prefixes and exact calls, each with the name of its DXCC entity."""
    name_of = {primary: name for name, primary, _, _ in entries}
    prefixes, exact = {}, {}
    for wae in (True, False):  # a DXCC entity's own prefix wins over a WAE entry's
        for name, primary, own, calls in entries:
            if primary.startswith("*") != wae:
                continue
            owner = name_of[WAE_PARENTS[primary]] if wae else name
            if wae and primary not in WAE_PARENTS:
                raise Failure("WAE entry %s has no DXCC entity" % primary)
            prefixes.update((p, owner) for p in own)
            exact.update((c, owner) for c in calls)
    for prefix, primary in REASSIGNED.items():
        prefixes[prefix] = name_of[primary]
    return prefixes, exact


def common_length(a, b):
    n = 0
    while n < len(a) and n < len(b) and a[n] == b[n]:
        n += 1
    return n


def build_entities(entries, prefixes):
    """The DXCC entities: (name, code, [usable prefixes]) in country-file order."""
    usable = {p: o for p, o in prefixes.items() if PLAIN.match(p) and len(p) <= PREFIX_WIDTH}
    entities = []
    for name, primary, _, _ in entries:
        if primary.startswith("*"):
            continue
        own = [p for p, o in usable.items() if o == name]
        # The code's line is a prefix too: it may not take callsigns the country file gives to
        # another entity (Sardinia's "IS" would take IS2xx, which are Italian: its code is "IS0").
        if (PLAIN.match(primary) and len(primary) <= PREFIX_WIDTH and usable.get(primary, name) == name
                and (primary in own or longest(usable, primary)[1] in (None, name) or not own)):
            code = primary
        elif own:
            stem = primary.split("/")[0]
            code = min(own, key=lambda p: (-common_length(p, stem), len(p), own.index(p)))
        elif len(primary) <= PREFIX_WIDTH:
            code = primary.upper()
        else:
            raise Failure("no entity code fits for %s (%s)" % (name, primary))
        entities.append((name, code, own))
    if len({code for _, code, _ in entities}) != len(entities):
        raise Failure("two entities share an entity code")
    return entities


def line_for(prefix, code, name):
    return "%s %s  %s %s" % (prefix.ljust(PREFIX_WIDTH), MARKS, code.ljust(PREFIX_WIDTH), name)


def file_order(prefixes):
    # "\x7f" sorts after every letter, digit and "/", so "FG" comes before "F".
    return sorted(prefixes, key=lambda p: p + "\x7f")


def nearest_ancestor(prefix, chosen):
    for n in range(len(prefix) - 1, 0, -1):
        if prefix[:n] in chosen:
            return prefix[:n]
    return None


def is_french(prefix):
    """Whether the prefix lies in a French ITU block (a missing line would fall back to France)."""
    return any(prefix.startswith(block) for block in FRENCH_BLOCKS)


class Choice:
    """The lines of the template, chosen against the master callsign file."""

    def __init__(self, entities, prefixes, exact, master):
        self.owner = {}  # prefix -> entity name
        self.codes = {name: code for name, code, _ in entities}
        order = {}
        for index, (name, code, own) in enumerate(entities):
            for p in [code] + own:
                self.owner.setdefault(p, name)
                order.setdefault(p, (index, len(order)))
        self.order = order
        self.chosen = set()
        self.size = 0
        # For each master callsign that the country file resolves: its entity and the usable
        # prefixes that begin the part of it that the look-up tries first.
        self.target, self.chain, self.best = [], [], []
        self.calls_of = {}
        self.usage = {}
        for call in master:
            entity = resolve(prefixes, exact, call)
            parts = callsign_parts(call)
            if entity in (None, MOBILE) or parts == MOBILE:
                continue
            part = next((p for p in parts if longest(prefixes, p)[1] is not None), parts[0])
            chain = [part[:n] for n in range(1, len(part) + 1) if part[:n] in self.owner]
            if not chain:
                continue
            k = len(self.target)
            self.target.append(entity)
            self.chain.append(chain)
            self.best.append(None)
            self.usage[chain[-1]] = self.usage.get(chain[-1], 0) + 1
            for p in chain:
                self.calls_of.setdefault(p, []).append(k)

    def line_size(self, p):
        return len(line_for(p, self.codes[self.owner[p]], self.owner[p])) + 2

    def gain(self, p):
        """Master callsigns set right minus those set wrong if `p` were added."""
        gain = 0
        for k in self.calls_of.get(p, []):
            best = self.best[k]
            if best is None or len(best) < len(p):
                gain += (self.owner[p] == self.target[k]) - (best is not None and self.owner[best] == self.target[k])
        return gain

    def add(self, p):
        self.chosen.add(p)
        self.size += self.line_size(p)
        for k in self.calls_of.get(p, []):
            if self.best[k] is None or len(self.best[k]) < len(p):
                self.best[k] = p

    def changes_lookup(self, p):
        ancestor = nearest_ancestor(p, self.chosen)
        return ancestor is None or self.owner[ancestor] != self.owner[p]

    def run(self, mandatory):
        for p in sorted(mandatory, key=len):
            self.add(p)
        if self.size > TARGET_SIZE:
            raise Failure("the entity lines alone exceed %d bytes" % TARGET_SIZE)
        # Lazy greedy on what each prefix brings to the master file, again while it adds lines:
        # a prefix may bring more once a shorter one is in ("UI8F" once "UI8" is).
        added = True
        while added:
            added = False
            heap = [(-self.gain(p), len(p), self.order[p], p) for p in self.owner if p not in self.chosen]
            heapq.heapify(heap)
            while heap:
                _, length, rank, p = heapq.heappop(heap)
                gain = self.gain(p)
                if gain <= 0:
                    continue
                if heap and -heap[0][0] > gain:
                    heapq.heappush(heap, (-gain, length, rank, p))
                    continue
                if self.size + self.line_size(p) <= TARGET_SIZE:
                    self.add(p)
                    added = True
        # Then what fits of the rest, most used first.
        rest = sorted((p for p in self.owner if p not in self.chosen),
                      key=lambda p: (-self.usage.get(p, 0), len(p), self.order[p]))
        for p in rest:
            if (self.size + self.line_size(p) <= TARGET_SIZE and self.changes_lookup(p)
                    and self.gain(p) == 0):
                self.add(p)
        # A line that changes no look-up is left out, and its bytes with it.
        for p in sorted(self.chosen, key=len, reverse=True):
            if p not in mandatory and not self.changes_lookup_without(p):
                self.chosen.discard(p)
                self.size -= self.line_size(p)

    def changes_lookup_without(self, p):
        self.chosen.discard(p)
        changes = self.changes_lookup(p)
        self.chosen.add(p)
        return changes


def build_lines(choice):
    lines = [line_for(p, choice.codes[choice.owner[p]], choice.owner[p]) for p in file_order(choice.chosen)]
    remaining = TARGET_SIZE - choice.size
    if remaining < 0 or remaining > len(lines):
        raise Failure("cannot make up %d bytes" % remaining)
    for i in range(len(lines) - remaining, len(lines)):
        lines[i] += " "
    return lines


def template_tables(lines):
    """The template as the program reads it without the country file: prefix -> entity name."""
    names = {line[26:32].strip(): line[33:].strip() for line in lines}
    return {line[:PREFIX_WIDTH].strip(): names[line[26:32].strip()] for line in lines}


def check(lines, data, entities):
    if len(data) != TARGET_SIZE:
        raise Failure("the file is %d bytes, not %d" % (len(data), TARGET_SIZE))
    seen = []
    for number, line in enumerate(lines, 1):
        prefix = line[:PREFIX_WIDTH].strip()
        code = line[26:32].strip()
        if (line[6] != " " or line[7:24] != MARKS or line[24:26] != "  " or line[32] != " "
                or not prefix or not code or len(line) < 34):
            raise Failure("line %d is not in the layout: %r" % (number, line))
        for earlier in seen:
            if prefix.startswith(earlier):
                raise Failure("line %d (%s) is hidden by the earlier prefix %s" % (number, prefix, earlier))
        seen.append(prefix)
    own = {line[:PREFIX_WIDTH].strip(): line[33:].strip() for line in lines
           if line[:PREFIX_WIDTH].strip() == line[26:32].strip()}
    for name, code, _ in entities:
        if own.get(code) != name:
            raise Failure("the entity %s has no line of its own %s" % (name, code))
    table = template_tables(lines)
    code_of = {name: code for name, code, _ in entities}
    for prefix in FRENCH_PREFIXES:
        if code_of.get(resolve(table, {}, prefix + "1ABC")) != "F":
            raise Failure("the French prefix %s does not resolve to F" % prefix)
    for call, code in KNOWN_CALLS.items():
        if code_of.get(resolve(table, {}, call)) != code:
            raise Failure("%s does not resolve to %s" % (call, code))


def report(lines, entries, prefixes, exact, master, choice):
    table = template_tables(lines)
    counts = {"same": 0, "exact": 0, "other": 0, "none": 0}
    others = []
    for call in master:
        country = resolve(prefixes, exact, call)
        if country is None:
            counts["none"] += 1
        elif resolve(table, {}, call) == country:
            counts["same"] += 1
        elif call.strip().upper() in exact:
            counts["exact"] += 1
        else:
            counts["other"] += 1
            others.append("%-12s %-28s template: %s" % (call, country, resolve(table, {}, call)))
    left_out = sorted(((choice.usage.get(p, 0), p) for p in choice.owner if p not in choice.chosen
                       and choice.changes_lookup(p)), key=lambda x: (-x[0], x[1]))
    out = ["# What make_prefix_file.py chose for data/FXXXX_Prefixe.txt (generated; do not edit)",
           "",
           "lines: %d; entities: %d" % (len(lines), len(choice.codes)),
           "master callsigns: %d" % len(master),
           "  resolved alike by the country file and by the template alone: %d" % (counts["same"] + counts["none"]),
           "    of which no prefix of the country file begins (the template's prefixes resolve them): %d"
           % counts["none"],
           "  apart because the country file lists them as exact calls: %d" % counts["exact"],
           "  apart otherwise (listed below): %d" % counts["other"],
           "",
           "## Master callsigns the template alone resolves otherwise, not being exact calls"]
    out += others
    out += ["", "## Prefixes left out that would change a look-up: master callsigns using them, prefix, entity"]
    out += ["%6d %-6s %s" % (n, p, choice.owner[p]) for n, p in left_out]
    return "\n".join(out) + "\n"


def generate(cty_text, master):
    entries = parse_cty(cty_text)
    prefixes, exact = country_tables(entries)
    entities = build_entities(entries, prefixes)
    missing = [p for p in FRENCH_PREFIXES if p not in prefixes]
    if missing:
        raise Failure("French prefixes missing from the country file: %s" % ", ".join(missing))
    choice = Choice(entities, prefixes, exact, master)
    mandatory = {code for _, code, _ in entities} | set(FRENCH_PREFIXES)
    mandatory |= {p for p in choice.owner if is_french(p) and PLAIN.match(p)}
    choice.run(mandatory)
    lines = build_lines(choice)
    try:
        data = "".join(line + "\r\n" for line in lines).encode("cp1252")
    except UnicodeEncodeError as error:
        raise Failure("a description has no Windows-1252 form: %s" % error)
    check(lines, data, entities)
    return data, report(lines, entries, prefixes, exact, master, choice)


def main():
    parser = argparse.ArgumentParser(description="Builds FXXXX_Prefixe.txt from cty.dat and MASTER.SCP.")
    parser.add_argument("--cty", default="/usr/share/hamradio-files/cty.dat")
    parser.add_argument("--master", default="/usr/share/hamradio-files/MASTER.SCP")
    parser.add_argument("--output", default="FXXXX_Prefixe.txt")
    parser.add_argument("--report", default="prefix_choices.txt")
    args = parser.parse_args()
    try:
        with open(args.cty, "r", encoding="latin-1", newline="") as source:
            cty_text = source.read()
        with open(args.master, "r", encoding="latin-1") as source:
            master = [l.strip() for l in source if l.strip() and not l.startswith("#")]
        data, text = generate(cty_text, master)
    except (OSError, Failure) as error:
        print("make_prefix_file: %s" % error, file=sys.stderr)
        return 1
    with open(args.output, "wb") as output:
        output.write(data)
    with open(args.report, "w", encoding="utf-8", newline="\n") as output:
        output.write(text)
    print("make_prefix_file: %s written, %d lines, %d bytes" % (args.output, data.count(b"\r\n"), len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
