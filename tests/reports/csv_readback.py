# Reads an exported CSV with Python's csv module, as a spreadsheet would, and writes its rows
# tab-joined, one a line, for the export test to compare field by field.
import csv
import sys

with open(sys.argv[1], newline="", encoding="utf-8-sig") as f:
    rows = list(csv.reader(f, strict=True))
if any(len(r) != 10 for r in rows):
    sys.exit("a row without ten fields")
with open(sys.argv[2], "w", encoding="utf-8", newline="") as out:
    out.write("".join("\t".join(r) + "\n" for r in rows))
