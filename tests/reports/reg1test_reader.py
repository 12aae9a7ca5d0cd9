#!/usr/bin/env python3
"""A reader of REG1TEST (EDI) files, written apart from the program's exporter, from the public
layout alone: it reads a file field by field as a contest manager's checker would and exits 1,
listing every fault, when any field is out of the layout or a claimed total disagrees with the
records. It prints one line of figures when the file is accepted.

Usage: reg1test_reader.py FILE.edi
"""

import math
import re
import sys
from datetime import date

HEADER_KEYS = [
    "TName", "TDate", "PCall", "PWWLo", "PExch", "PAdr1", "PAdr2", "PSect", "PBand", "PClub",
    "RName", "RCall", "RAdr1", "RAdr2", "RPoCo", "RCity", "RCoun", "RPhon", "RHBBS", "MOpe1",
    "MOpe2", "STXEq", "SPowe", "SRXEq", "SAnte", "SAntH", "CQSOs", "CQSOP", "CWWLs", "CWWLB",
    "CExcs", "CExcB", "CDXCs", "CDXCB", "CToSc", "CODXC",
]
REQUIRED = ["TName", "TDate", "PCall", "PWWLo", "PBand", "CQSOs", "CQSOP", "CToSc"]
BANDS = ["50 MHz", "70 MHz", "144 MHz", "432 MHz", "1,3 GHz", "2,3 GHz", "3,4 GHz", "5,7 GHz",
         "10 GHz", "24 GHz", "47 GHz", "76 GHz", "122 GHz", "134 GHz", "241 GHz"]
WWL = re.compile(r"^[A-R]{2}[0-9]{2}[A-X]{2}$")
CALL = re.compile(r"^[A-Z0-9]+(/[A-Z0-9]+)*$")


def position(wwl):
    """Latitude and longitude of the centre of a six-character square, in radians."""
    lon = (ord(wwl[0]) - 65) * 20 + int(wwl[2]) * 2 + (ord(wwl[4]) - 65) / 12 + 1 / 24 - 180
    lat = (ord(wwl[1]) - 65) * 10 + int(wwl[3]) + (ord(wwl[5]) - 65) / 24 + 1 / 48 - 90
    return math.radians(lat), math.radians(lon)


def qso_points(a, b):
    """One point a kilometre: the great circle between the centres of the squares at 111.2 km a
    degree, truncated, plus 1."""
    (lat1, lon1), (lat2, lon2) = position(a), position(b)
    h = math.sin((lat2 - lat1) / 2) ** 2 + math.cos(lat1) * math.cos(lat2) * math.sin((lon2 - lon1) / 2) ** 2
    return math.floor(111.2 * math.degrees(2 * math.asin(min(1.0, math.sqrt(h))))) + 1


def parse_date(text, digits):
    if not re.fullmatch(r"\d{%d}" % digits, text):
        return None
    year = int(text[:4]) if digits == 8 else 2000 + int(text[:2])
    rest = text[4:] if digits == 8 else text[2:]
    try:
        return date(year, int(rest[:2]), int(rest[2:4]))
    except ValueError:
        return None


class Reader:
    def __init__(self, data):
        self.faults = []
        self.data = data

    def fault(self, where, text):
        self.faults.append(f"{where}: {text}")

    def numbers(self, header, key, count):
        parts = header.get(key, "").split(";")
        if len(parts) != count or not all(re.fullmatch(r"\d+", p) for p in parts):
            self.fault(key, f"expected {count} whole numbers separated by ';', got {header.get(key)!r}")
            return [0] * count
        return [int(p) for p in parts]

    def read(self):
        if any(b >= 0x80 for b in self.data):
            self.fault("file", "bytes outside ASCII")
        text = self.data.decode("ascii", "replace")
        if "\n" in text.replace("\r\n", ""):
            self.fault("file", "a line does not end with CR LF")
        lines = text.split("\r\n")
        if lines and lines[-1] == "":
            lines.pop()
        if not lines or lines[0] != "[REG1TEST;1]":
            self.fault("line 1", "not [REG1TEST;1]")
            return None
        header, i = {}, 1
        while i < len(lines) and not lines[i].startswith("["):
            key, sep, value = lines[i].partition("=")
            if not sep or key not in HEADER_KEYS:
                self.fault(f"line {i + 1}", f"unknown header line {lines[i]!r}")
            elif key in header:
                self.fault(f"line {i + 1}", f"{key} given twice")
            header[key] = value
            i += 1
        for key in REQUIRED:
            if key not in header:
                self.fault("header", f"{key} missing")
        if i < len(lines) and lines[i] == "[Remarks]":
            i += 1
            while i < len(lines) and not lines[i].startswith("["):
                i += 1
        m = re.fullmatch(r"\[QSORecords;(\d+)\]", lines[i] if i < len(lines) else "")
        if not m:
            self.fault(f"line {i + 1}", "[QSORecords;N] expected")
            return None
        records = lines[i + 1:i + 1 + int(m.group(1))]
        tail = lines[i + 1 + int(m.group(1)):]
        if len(records) != int(m.group(1)):
            self.fault("records", f"{m.group(1)} announced, {len(records)} present")
        if tail and not (len(tail) == 1 and tail[0].startswith("[END;")):
            self.fault("records", f"{len(tail)} lines after the announced records")
        return self.check(header, [(i + 2 + n, r) for n, r in enumerate(records)])

    def check_header(self, header):
        first = last = None
        parts = header.get("TDate", "").split(";")
        if len(parts) == 2:
            first, last = parse_date(parts[0], 8), parse_date(parts[1], 8)
        if not first or not last or first > last:
            self.fault("TDate", f"not two dates YYYYMMDD in order: {header.get('TDate')!r}")
        for key in ("PCall", "RCall"):
            if key in header and not CALL.match(header[key]):
                self.fault(key, f"not a callsign: {header[key]!r}")
        if header.get("PWWLo") and not WWL.match(header["PWWLo"]):
            self.fault("PWWLo", f"not a locator: {header['PWWLo']!r}")
        if header.get("PBand") not in BANDS:
            self.fault("PBand", f"unknown band {header.get('PBand')!r}")
        return first, last

    def check_record(self, where, fields, station, days):
        d, t, call, mode, rsts, nums, rstr, numr, exch, wwl, pts, nexc, nwwl, ndxc, dup = fields
        day = parse_date(d, 6)
        if not day or (days[0] and not days[0] <= day <= days[1]):
            self.fault(where, f"date {d!r} not YYMMDD within TDate")
        if not re.fullmatch(r"([01]\d|2[0-3])[0-5]\d", t):
            self.fault(where, f"time {t!r} not HHMM")
        if not CALL.match(call):
            self.fault(where, f"callsign {call!r}")
        if not re.fullmatch(r"[0-9]", mode):
            self.fault(where, f"mode code {mode!r}")
        for name, value, form in (("sent RST", rsts, r"\d{2,3}"), ("received RST", rstr, r"\d{2,3}"),
                                  ("sent number", nums, r"\d{3,4}"), ("received number", numr, r"\d{3,4}")):
            if value and not re.fullmatch(form, value):
                self.fault(where, f"{name} {value!r}")
        if wwl and not WWL.match(wwl):
            self.fault(where, f"locator {wwl!r}")
        if not re.fullmatch(r"\d+", pts):
            self.fault(where, f"points {pts!r}")
            pts = "0"
        for name, value, mark in (("new exchange", nexc, "N"), ("new locator", nwwl, "N"),
                                  ("new DXCC", ndxc, "N"), ("duplicate", dup, "D")):
            if value not in ("", mark):
                self.fault(where, f"{name} mark {value!r}")
        expected = 0 if dup or not wwl or not station else qso_points(station, wwl)
        if int(pts) != expected:
            self.fault(where, f"{pts} points, the distance gives {expected}")
        return int(pts)

    def check(self, header, records):
        days = self.check_header(header)
        station = header.get("PWWLo") if WWL.match(header.get("PWWLo", "")) else ""
        seen, squares, exchanges, totals, best = set(), set(), set(), [0, 0, 0, 0, 0], None
        for number, line in records:
            where = f"line {number}"
            fields = line.split(";")
            if len(fields) != 15:
                self.fault(where, f"{len(fields)} fields, 15 expected")
                continue
            points = self.check_record(where, fields, station, days)
            call, mode, exch, wwl, dup = fields[2], fields[3], fields[8], fields[9], fields[14]
            if bool(dup) != ((call, mode) in seen):
                self.fault(where, "duplicate mark does not follow the earlier records")
            seen.add((call, mode))
            if dup:
                if points or fields[11] or fields[12] or fields[13]:
                    self.fault(where, "a duplicate with points or marks")
                continue
            for mark, key, known in ((fields[11], exch, exchanges), (fields[12], wwl[:4], squares)):
                if (mark == "N") != bool(key and key not in known):
                    self.fault(where, "new mark does not follow the earlier records")
                if key:
                    known.add(key)
            totals = [totals[0] + 1, totals[1] + points, totals[2] + (fields[12] == "N"),
                      totals[3] + (fields[11] == "N"), totals[4] + (fields[13] == "N")]
            if wwl and (best is None or points > best[2]):
                best = (call, wwl, points)
        self.check_claims(header, totals, best)
        return totals

    def check_claims(self, header, totals, best):
        qsos, mult = self.numbers(header, "CQSOs", 2)
        claims = {"CQSOs": (qsos, totals[0]), "CQSOP": (self.numbers(header, "CQSOP", 1)[0], totals[1])}
        bonus = 0
        for key, bkey, index in (("CWWLs", "CWWLB", 2), ("CExcs", "CExcB", 3), ("CDXCs", "CDXCB", 4)):
            if key in header:
                n, per, m = self.numbers(header, key, 3)
                claims[key] = (n, totals[index])
                if bkey in header:
                    claims[bkey] = (self.numbers(header, bkey, 1)[0], n * per)
                    bonus += n * per
                mult *= m
        claims["CToSc"] = (self.numbers(header, "CToSc", 1)[0], (totals[1] + bonus) * mult)
        for key, (claimed, counted) in claims.items():
            if claimed != counted:
                self.fault(key, f"claims {claimed}, the records give {counted}")
        odx = ";".join([best[0], best[1], str(best[2])]) if best else ""
        if header.get("CODXC", "") != odx:
            self.fault("CODXC", f"claims {header.get('CODXC')!r}, the records give {odx!r}")


def main():
    with open(sys.argv[1], "rb") as f:
        reader = Reader(f.read())
    totals = reader.read()
    if reader.faults or totals is None:
        print("\n".join(reader.faults))
        return 1
    print(f"accepted: {totals[0]} QSOs, {totals[1]} points, {totals[2]} squares, "
          f"{totals[3]} exchanges, {totals[4]} DXCC")
    return 0


if __name__ == "__main__":
    sys.exit(main())
