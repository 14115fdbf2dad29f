#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (in build-fuzz) and runs one target or
# all of them, one after the other, each for SECONDS of processor time (default
# 600).
#
#   tools/fuzz.sh [TARGET|all] [SECONDS]
#   TARGET: rtf textfile config syntaxdef highlight check merge import analysis map vjass fold members
#
# A quarter of each target's time goes to long inputs, up to LONG_INPUT bytes
# (default 1 MiB): what only deep or large input breaks (a stack exhausted by
# nesting, a quadratic pass) needs more than the few kilobytes libFuzzer tries
# by itself.
#
# Each run starts from the seeds in fuzz/corpus/TARGET and keeps what it finds
# in BUILD_DIR/corpus/TARGET, outside git. An input that crashes, hangs or
# leaks is copied to fuzz/crashes/TARGET; the script then exits with 1.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-fuzz}"
jobs="${JOBS:-1}"
all_targets=(rtf textfile config syntaxdef highlight check merge import analysis map vjass fold members)
target="${1:-all}"
seconds="${2:-600}"
long_input="${LONG_INPUT:-1048576}"

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
# Runs target $1 for $2 seconds of processor time, logging to $4, with the
# libFuzzer options after it; $3 names the pass. Returns the run's status.
run_pass() {
  local t="$1" budget="$2" label="$3" log="$4"
  shift 4
  "$build/fuzz/fuzz_$t" -max_total_time=$((budget * 20)) -timeout=30 -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts/" -print_final_stats=1 "$@" \
    "$work" "$root/fuzz/corpus/$t" >"$log" 2>&1 &
  local pid=$! status=0
  cpu=0
  # libFuzzer's own limit counts wall time; on a busy machine that is far less
  # fuzzing, so the target is stopped (SIGINT, exit 72) once it has had its
  # processor time.
  while kill -0 "$pid" 2>/dev/null; do
    sleep 5
    read -r -a stat <"/proc/$pid/stat" 2>/dev/null || break
    cpu=$(((stat[13] + stat[14]) / $(getconf CLK_TCK)))
    if ((cpu >= budget)); then
      kill -INT "$pid" 2>/dev/null || true
      break
    fi
  done
  wait "$pid" || status=$?
  if ((status == 72 && cpu >= budget)); then
    status=0
  fi
  echo "$t$label: ${cpu}s of processor time"
  grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss_mb|Done [0-9]+ runs)' "$log" || true
  return "$status"
}

failed=()
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  artifacts="$build/artifacts/$t"
  mkdir -p "$work" "$artifacts"
  long=$((seconds / 4 > 0 ? seconds / 4 : 1))
  echo "== $t for ${seconds}s of processor time, ${long}s of it on inputs up to $long_input bytes"
  status=0
  run_pass "$t" $((seconds - long > 0 ? seconds - long : 1)) "" "$build/fuzz-$t.log" || status=$?
  if ((status == 0)); then
    # -len_control=0: long inputs at once, not after hours of slow growth.
    run_pass "$t" "$long" " (long inputs)" "$build/fuzz-$t-long.log" \
      -max_len="$long_input" -len_control=0 || status=$?
  fi
  shopt -s nullglob
  found=("$artifacts"/crash-* "$artifacts"/leak-* "$artifacts"/timeout-* "$artifacts"/oom-*)
  shopt -u nullglob
  if ((status != 0 || ${#found[@]} > 0)); then
    mkdir -p "$root/fuzz/crashes/$t"
    for f in "${found[@]}"; do
      cp "$f" "$root/fuzz/crashes/$t/"
      mv "$f" "$artifacts/kept-$(basename "$f")"
    done
    echo "$t: finding, see $build/fuzz-$t.log, $build/fuzz-$t-long.log and fuzz/crashes/$t/" >&2
    failed+=("$t")
  fi
done
if ((${#failed[@]} > 0)); then
  echo "findings in: ${failed[*]}" >&2
  exit 1
fi
