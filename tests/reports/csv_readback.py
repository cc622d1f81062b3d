# Reads an exported CSV with Python's csv module, as a spreadsheet would, and writes its rows
# tab-joined, one a line, for the export test to compare field by field. A third argument gives
# the number of fields a row must have (ten, the export's, when not given).
import csv
import sys

with open(sys.argv[1], newline="", encoding="utf-8-sig") as f:
    rows = list(csv.reader(f, strict=True))
fields = int(sys.argv[3]) if len(sys.argv) > 3 else 10
if any(len(r) != fields for r in rows):
    sys.exit(f"a row without {fields} fields")
with open(sys.argv[2], "w", encoding="utf-8", newline="") as out:
    out.write("".join("\t".join(r) + "\n" for r in rows))
