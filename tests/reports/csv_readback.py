# Reads an exported CSV with Python's csv module, as a spreadsheet would, and writes its rows
# tab-joined, one a line, for the tests to compare field by field.
import csv
import sys

with open(sys.argv[1], newline="", encoding="utf-8-sig") as f:
    rows = list(csv.reader(f, strict=True))
# Ten columns, or eighteen with a traffic net's facts (or as many as a third argument says):
# every row as many as the head.
allowed = (int(sys.argv[3]),) if len(sys.argv) > 3 else (10, 18)
if len(rows[0]) not in allowed or any(len(r) != len(rows[0]) for r in rows):
    sys.exit("a row without the head's fields")
with open(sys.argv[2], "w", encoding="utf-8", newline="") as out:
    out.write("".join("\t".join(r) + "\n" for r in rows))
