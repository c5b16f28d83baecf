#!/usr/bin/env bash
# fuzz.sh: builds the native libFuzzer targets of fuzz/ with clang (ASan + UBSan) into
# build-fuzz/ and runs them.
#   scripts/fuzz.sh SECONDS [-j N] [TARGET...]   each target for SECONDS, N at a time (default 3);
#                                                a working corpus per target in build-fuzz/work,
#                                                logs in build-fuzz/logs, crashes in build-fuzz/crashes;
#                                                ends with a table: exec/s, coverage, crashes
#   scripts/fuzz.sh --brief [-j N]               every target for a few seconds on its committed
#                                                corpus (fuzz/corpus/TARGET); fails on any report
#   scripts/fuzz.sh --build                      only builds
# A new corpus input worth keeping: scripts/fuzz.sh --merge TARGET DIR (minimises into the committed
# corpus). BUILD_FUZZ_DIR overrides the build folder.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${BUILD_FUZZ_DIR:-$ROOT/build-fuzz}"
CORPUS="$ROOT/fuzz/corpus"

mode=run seconds="" jobs=3 brief_seconds="${FUZZ_BRIEF_SECONDS:-4}" merge_dir="" targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --brief) mode=brief; jobs=4 ;;
    --build) mode=build ;;
    --merge) mode=merge; targets=("$2"); merge_dir="$3"; shift 2 ;;
    -j) jobs="$2"; shift ;;
    -j*) jobs="${1#-j}" ;;
    [0-9]*) seconds="$1" ;;
    *) targets+=("$1") ;;
  esac
  shift
done
[ "$mode" != run ] || [ -n "$seconds" ] || { sed -n '2,13p' "$0" >&2; exit 2; }

# clang with the fuzzer runtime, and PCRE2 for the build machine (Debian 12 packages).
need=()
command -v clang++ >/dev/null || need+=(clang)
[ -n "$(find /usr/lib/llvm-*/lib/clang -name 'libclang_rt.fuzzer-x86_64.a' 2>/dev/null | head -n1)" ] ||
  need+=(libclang-rt-14-dev)
[ -f /usr/include/pcre2.h ] || need+=(libpcre2-dev)
command -v pkg-config >/dev/null || need+=(pkg-config)
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" = 0 ] || SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${need[@]}" >/dev/null
fi

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$ROOT/fuzz" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$BUILD" -j"$(nproc)" >/dev/null
[ "$mode" != build ] || exit 0
[ ${#targets[@]} -gt 0 ] || mapfile -t targets < "$BUILD/targets.txt"

# Reports: a crash, a sanitizer report, a leak, a time-out (10 s for one input) or memory.
common=(-timeout=10 -rss_limit_mb=2048 -print_final_stats=1)

if [ "$mode" = merge ]; then
  t="${targets[0]}"
  mkdir -p "$CORPUS/$t"
  "$BUILD/fuzz_$t" -merge=1 "${common[@]}" "$CORPUS/$t" "$merge_dir"
  exit 0
fi

run_one() {  # run_one TARGET SECONDS: runs one target, returns its status
  local t=$1 secs=$2 work="$BUILD/work/$1" crashes="$BUILD/crashes/$1"
  mkdir -p "$work" "$crashes" "$BUILD/logs"
  # The committed corpus is read, never written: new inputs go to the working corpus.
  "$BUILD/fuzz_$t" "${common[@]}" -max_total_time="$secs" -artifact_prefix="$crashes/" \
    "$work" "$CORPUS/$t" > "$BUILD/logs/$t.log" 2>&1
}
export -f run_one
export BUILD CORPUS
export common_str="${common[*]}"

if [ "$mode" = brief ]; then
  rm -rf "$BUILD/work" "$BUILD/crashes"
  secs=$brief_seconds
else
  secs=$seconds
fi
# bash functions cannot take arrays across xargs: pass the options again.
status=0
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c \
  'common=($common_str); run_one "$1" "$2" || { echo "fuzz: $1 reported a fault, see $BUILD/logs/$1.log" >&2; exit 1; }' \
  _ {} "$secs" || status=1

printf '%-14s %8s %10s %8s %8s %8s\n' target seconds "exec/s" cov ft crashes
for t in "${targets[@]}"; do
  log="$BUILD/logs/$t.log"
  done_line=$(grep -E '^#[0-9]+\s+(DONE|INITED)' "$log" | tail -n1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$done_line")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$done_line")
  eps=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n1)
  secs_run=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n1)
  n=$(find "$BUILD/crashes/$t" -type f 2>/dev/null | wc -l)
  printf '%-14s %8s %10s %8s %8s %8s\n' "$t" "${secs_run:--}" "${eps:--}" "${cov:--}" "${ft:--}" "$n"
done
exit $status
