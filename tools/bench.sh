#!/usr/bin/env bash
# The performance report: builds the benchmarks in Release, runs every one of
# them several times over the same inputs and prints one table (Markdown).
#
#   tools/bench.sh [JASS_DATA]
#
# JASS_DATA (argument or environment; default ../shared/jass-data beside the
# repository) holds scripts/maps/*.j, repeated to the sizes measured, and one
# folder per game patch; the newest patch's common.j, blizzard.j and common.ai
# give the word classes.
# RUNS (default 5) runs per figure of the report program, OTHER_RUNS (default 3)
# runs of each other benchmark program; each figure is the median of its runs
# with their minimum and maximum. BUILD_DIR defaults to build-bench; TSV keeps
# the raw rows (default BUILD_DIR/bench.tsv).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
data="${1:-${JASS_DATA:-$root/../shared/jass-data}}"
data="$(cd "$data" && pwd)"
build="${BUILD_DIR:-$root/build-bench}"
runs="${RUNS:-5}"
other_runs="${OTHER_RUNS:-3}"
tsv="${TSV:-$build/bench.tsv}"
maps="$data/scripts/maps"
patch="$(find "$data" -mindepth 1 -maxdepth 1 -type d -name '[0-9]*' -printf '%f\n' | sort -V | tail -n 1)"
declarations="$data/$patch"
[ -f "$declarations/common.j" ] || { echo "no common.j in $declarations" >&2; exit 2; }

benches=$(sed -n 's/^tolvane_add_bench(\(bench_[A-Za-z0-9_]*\).*/\1/p' "$root/bench/CMakeLists.txt")
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOLVANE_BUILD_BENCH=ON >/dev/null
# A benchmark that does not build is reported and left out of the table.
# shellcheck disable=SC2086
cmake --build "$build" --parallel "${JOBS:-$(nproc)}" --target $benches -- -k 0 >&2 ||
    echo "some benchmarks did not build; the table leaves them out" >&2
[ -x "$build/bench/bench_report" ] || { echo "bench_report did not build" >&2; exit 1; }

: >"$tsv"
report() { # mode lines
    "$build/bench/bench_report" "$1" "$2" "$maps" "$declarations" 2>/dev/null |
        awk -v n="$2" -F'\t' '{ print $1 "@" n "\t" $2 "\t" $3 }' >>"$tsv" ||
        echo "bench_report $1 $2 failed" >&2
}
echo "report program: $runs runs per figure over $maps and $patch" >&2
for ((r = 1; r <= runs; r++)); do
    for lines in 1000 100000 400000; do
        report plain "$lines"
        report sci "$lines"
        report open "$lines"
        report keystroke "$lines"
    done
    report keystroke-long 1000
    for lines in 100000 400000; do
        report tokens "$lines"
        report generate "$lines"
    done
done

# The other programs print their own figures, one per line as
# "what: [median] N ms|us|ns"; each becomes a row of its own, named after the
# heading above it ("200000 lines (...):") when there is one.
figures() { # bench
    awk -v bench="$1" '
        /^[^ ].*:$/ { section = $0; sub(/ *(\(.*)?:$/, "", section); next }
        match($0, /^ *[^:]+: *(median |first [0-9.]+ ms, median )?[0-9.]+ *(ms|us|ns)/) {
            if ($0 ~ /^[^ ]/)
                section = ""
            what = $0; sub(/^ */, "", what); sub(/:.*/, "", what)
            rest = substr($0, index($0, ":") + 1)
            sub(/^ *(median |first [0-9.]+ ms, median )?/, "", rest)
            split(rest, parts, " ")
            gsub(/[^a-z]/, "", parts[2])
            name = bench ": " (section == "" ? "" : section ", ") what
            print name "\t" parts[1] "\t" parts[2]
        }'
}
# The inputs each program takes, so that all of them measure the same data.
other_args() { # bench
    case "$1" in
    bench_engine) echo "$maps $declarations" ;;
    bench_keystroke | bench_mainwindow | bench_explorer | bench_editorcheck | bench_writinghelp | bench_maps | bench_navigation | bench_fold)
        echo "$maps" ;;
    bench_checker | bench_lint) echo "$data" ;;
    bench_merge) echo "$declarations/blizzard.j" ;;
    *) ;;
    esac
}
for bench in $benches; do
    [ "$bench" = bench_report ] && continue
    [ -x "$build/bench/$bench" ] || continue
    echo "$bench: $other_runs runs" >&2
    for ((r = 1; r <= other_runs; r++)); do
        # shellcheck disable=SC2046
        (cd "$build" && "$build/bench/$bench" $(other_args "$bench")) 2>/dev/null | figures "$bench" \
            >>"$tsv" || echo "$bench failed" >&2
    done
done

python3 - "$tsv" "$runs" "$other_runs" "$patch" <<'EOF'
import statistics, sys
from collections import OrderedDict

rows = OrderedDict()
for line in open(sys.argv[1], encoding="utf-8"):
    parts = line.rstrip("\n").split("\t")
    if len(parts) == 3:
        rows.setdefault(parts[0], ([], parts[2]))[0].append(float(parts[1]))
runs, other_runs, patch = sys.argv[2], sys.argv[3], sys.argv[4]

def fig(key):
    values, unit = rows.get(key, ([], ""))
    if not values:
        return None
    return statistics.median(values), min(values), max(values), unit

def num(v):
    return f"{v:.0f}" if v >= 100 else f"{v:.3g}"

def cell(f):
    if f is None:
        return "n/a"
    med, lo, hi, unit = f
    return f"{num(med)} {unit} ({num(lo)}–{num(hi)})"

def ratio_row(name, key, ref_name, ref_key, target=None):
    f, r = fig(key), fig(ref_key)
    ratio = f[0] / r[0] if f and r and r[0] else None
    verdict = "" if ratio is None or target is None else ("met" if ratio <= target else "MISSED")
    ratio_text = "n/a" if ratio is None else f"{ratio:.2f}"
    target_text = "" if target is None else f"≤ {target} {verdict}"
    print(f"| {name} | {cell(f)} | {ref_name}: {cell(r)} | {ratio_text} | {target_text} |")

print(f"Median of {runs} runs (minimum–maximum); word classes from patch {patch}.\n")
print("| Figure | Ours | Reference | Ratio | Target |")
print("|---|---|---|---|---|")
for n, label in ((100000, "100,000"), (400000, "400,000")):
    ratio_row(f"Open a {label}-line script, whole program", f"open@{n}", "bare QsciScintilla", f"sci@{n}", 1.5)
    ratio_row(f"Peak memory with {label} lines open", f"open-memory@{n}", "bare QsciScintilla",
              f"sci-memory@{n}", 1.3)
    ratio_row(f"Rich-text generation, {label} lines", f"generate@{n}", "token pass", f"tokens@{n}", 5)
for n, label in ((100000, "100,000"), (400000, "400,000")):
    ratio_row(f"Open a {label}-line script, whole program", f"open@{n}", "the old floor, bare setPlainText",
              f"plain@{n}")
    ratio_row(f"Peak memory with {label} lines open", f"open-memory@{n}", "the old floor, bare setPlainText",
              f"plain-memory@{n}")

print("\nGrowth (the keystroke must stay flat, at most 0.2 ms):\n")
print("| Lines | Open, whole program | Bare QsciScintilla | Bare setPlainText | Keystroke | Target |")
print("|---|---|---|---|---|---|")
for n, label in ((1000, "1,000"), (100000, "100,000"), (400000, "400,000")):
    k = fig(f"keystroke@{n}")
    verdict = "" if k is None else ("met" if k[0] <= 0.2 else "MISSED")
    print(f"| {label} | {cell(fig(f'open@{n}'))} | {cell(fig(f'sci@{n}'))} | {cell(fig(f'plain@{n}'))} "
          f"| {cell(k)} | ≤ 0.2 ms {verdict} |")

print("\nA keystroke in a 100,000-character line amid 1,000 lines, against the bare view and the old floor:\n")
print("| Figure | Ours | Bare QsciScintilla | Ratio | Target | Bare QPlainTextEdit |")
print("|---|---|---|---|---|---|")
for what, suffix in (("Keystroke", ""), ("With the repaint", "-painted")):
    k, sci = fig(f"keystroke-long{suffix}@1000"), fig(f"keystroke-long-sci{suffix}@1000")
    ratio = k[0] / sci[0] if k and sci and sci[0] else None
    verdict = "" if ratio is None else ("met" if ratio <= 1.2 else "MISSED")
    ratio_text = "n/a" if ratio is None else f"{ratio:.2f}"
    print(f"| {what} | {cell(k)} | {cell(sci)} | {ratio_text} | ≤ 1.2 {verdict} | "
          f"{cell(fig(f'keystroke-long-bare{suffix}@1000'))} |")

others = [k for k in rows if k.startswith("bench_") and k.split(":")[0] != "bench_report"]
if others:
    print(f"\nThe other benchmarks, each figure as its program prints it, median of {other_runs} runs:\n")
    print("| Benchmark | Figure |")
    print("|---|---|")
    for key in others:
        print(f"| {key} | {cell(fig(key))} |")
EOF
