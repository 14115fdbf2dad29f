#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (in build-fuzz) and runs one target or
# all of them, one after the other, each for SECONDS of processor time (default
# 600).
#
#   tools/fuzz.sh [TARGET|all] [SECONDS]
#   TARGET: rtf textfile config syntaxdef highlight check merge import analysis
#
# Each run starts from the seeds in fuzz/corpus/TARGET and keeps what it finds
# in BUILD_DIR/corpus/TARGET, outside git. An input that crashes, hangs or
# leaks is copied to fuzz/crashes/TARGET; the script then exits with 1.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-fuzz}"
jobs="${JOBS:-1}"
all_targets=(rtf textfile config syntaxdef highlight check merge import analysis)
target="${1:-all}"
seconds="${2:-600}"

if [[ "$target" == all ]]; then
  targets=("${all_targets[@]}")
elif [[ " ${all_targets[*]} " == *" $target "* ]]; then
  targets=("$target")
else
  echo "unknown target '$target'; one of: ${all_targets[*]} all" >&2
  exit 2
fi

compiler="$(command -v clang++-14 || command -v clang++ || true)"
if [[ -z "$compiler" ]]; then
  echo "clang++ is needed for libFuzzer" >&2
  exit 2
fi

# Debug keeps the assertions (ours and Qt's inline ones); -O1 keeps it fast enough.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
  -DBUILD_TESTING=OFF -DTOLVANE_BUILD_FUZZ=ON >/dev/null
cmake --build "$build" --parallel "$jobs" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM=offscreen
failed=()
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  artifacts="$build/artifacts/$t"
  mkdir -p "$work" "$artifacts"
  echo "== $t for ${seconds}s of processor time"
  status=0
  # libFuzzer's own limit counts wall time; on a busy machine that is far less
  # fuzzing, so the target is stopped (SIGINT, exit 72) once it has had its
  # processor time.
  "$build/fuzz/fuzz_$t" -max_total_time=$((seconds * 20)) -timeout=30 -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts/" -print_final_stats=1 \
    "$work" "$root/fuzz/corpus/$t" >"$build/fuzz-$t.log" 2>&1 &
  pid=$!
  cpu=0
  while kill -0 "$pid" 2>/dev/null; do
    sleep 5
    read -r -a stat <"/proc/$pid/stat" 2>/dev/null || break
    cpu=$(((stat[13] + stat[14]) / $(getconf CLK_TCK)))
    if ((cpu >= seconds)); then
      kill -INT "$pid" 2>/dev/null || true
      break
    fi
  done
  wait "$pid" || status=$?
  if ((status == 72 && cpu >= seconds)); then
    status=0
  fi
  echo "$t: ${cpu}s of processor time"
  grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss_mb|Done [0-9]+ runs)' \
    "$build/fuzz-$t.log" || true
  shopt -s nullglob
  found=("$artifacts"/crash-* "$artifacts"/leak-* "$artifacts"/timeout-* "$artifacts"/oom-*)
  shopt -u nullglob
  if ((status != 0 || ${#found[@]} > 0)); then
    mkdir -p "$root/fuzz/crashes/$t"
    for f in "${found[@]}"; do
      cp "$f" "$root/fuzz/crashes/$t/"
      mv "$f" "$artifacts/kept-$(basename "$f")"
    done
    echo "$t: finding, see $build/fuzz-$t.log and fuzz/crashes/$t/" >&2
    failed+=("$t")
  fi
done
if ((${#failed[@]} > 0)); then
  echo "findings in: ${failed[*]}" >&2
  exit 1
fi
