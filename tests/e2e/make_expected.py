"""Writes the expected outputs of an end-to-end case folder from the
independent model in tests/reference (never from the program itself).

    python3 make_expected.py cases/NAME

The case's stdin must answer the dialogue with an input name, one output name
that is accepted, the first year and the NoData value, one answer a line.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "reference"))
import wgnrain_ref as ref  # noqa: E402

case = sys.argv[1]
input_name, output_name, year, nodata = open(os.path.join(case, "stdin")).read().split("\n")[:4]
repo = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sources = {}
if os.path.exists(os.path.join(case, "copy")):  # inputs copied from the repository
    for line in open(os.path.join(case, "copy")):
        source, target = line.split()
        sources[target] = os.path.join(repo, source)
data = open(sources.get(input_name, os.path.join(case, "files", input_name)), "rb").read()
expected = os.path.join(case, "expected")
os.makedirs(os.path.join(expected, "files"), exist_ok=True)
given = os.path.join(case, "files")
for name in os.listdir(given) if os.path.isdir(given) else []:
    with open(os.path.join(case, "files", name), "rb") as src, open(os.path.join(expected, "files", name), "wb") as dst:
        dst.write(src.read())
with open(os.path.join(expected, "stdout"), "w", newline="") as f:
    f.write(ref.console_output())
try:
    warnings = []
    report, mean_pcp, totalpcp = ref.run(data, input_name, output_name, int(year), ref.parse_real(nodata),
                                         "@WORK@/" + input_name, warnings)
    if warnings:
        with open(os.path.join(expected, "stderr"), "w", newline="") as f:
            f.write("".join(warnings))
    for name, text in ((output_name, report), ("mean_pcp.sta", mean_pcp), ("totalpcp.sta", totalpcp)):
        with open(os.path.join(expected, "files", name), "w", newline="", encoding="latin-1") as f:
            f.write(text)
except ref.Failure as failure:
    with open(os.path.join(expected, "stderr"), "w", newline="") as f:
        f.write(failure.stderr)
    with open(os.path.join(expected, "status"), "w") as f:
        f.write(f"{failure.status}\n")
