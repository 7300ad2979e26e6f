#!/usr/bin/env bash
# Builds the libFuzzer fuzzers of the parsers of outside input natively (clang-14, AddressSanitizer
# and UndefinedBehaviorSanitizer; tests/fuzz/Makefile) into build/fuzz and runs each for a while,
# starting from its seeds in tests/fuzz/<name>/corpus. Installs what is missing (as root).
#   fuzz.sh [seconds per fuzzer, default 60] [fuzzer names...]   (default: all of them)
# Prints per fuzzer the executions, libFuzzer's coverage (edges "cov" and features "ft") at the
# end, the line coverage of the product files it covers, and any crash, whose input is kept in
# build/fuzz/crashes/<name>/. Exits with 1 when a fuzzer crashed. Linux only; not part of CI.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${LW_FUZZ_DIR:-$here/build/fuzz}
all=(item_path parse_response packet_decoder ini_text command_line ui_data)

seconds=60
if [ $# -gt 0 ] && [[ $1 =~ ^[0-9]+$ ]]; then seconds=$1; shift; fi
fuzzers=("$@")
[ ${#fuzzers[@]} -gt 0 ] || fuzzers=("${all[@]}")
for name in "${fuzzers[@]}"; do
  [ -f "$here/tests/fuzz/$name/fuzzer.cpp" ] || { echo "fuzz.sh: no fuzzer named $name (known: ${all[*]})" >&2; exit 2; }
done

packages=(clang-14 llvm-14 libfuzzer-14-dev zlib1g-dev libtinyxml-dev make)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then echo "fuzz.sh: missing packages (install as root): ${missing[*]}" >&2; exit 2; fi
  echo "[fuzz] installing: ${missing[*]}" >&2
  apt-get update -q >/dev/null
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi

make -s -C "$here/tests/fuzz" OUT="$out" -j"$(nproc)" >&2

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
crashed=()
summary=()
for name in "${fuzzers[@]}"; do
  seeds=$here/tests/fuzz/$name/corpus
  corpus=$out/corpus/$name
  crashes=$out/crashes/$name
  log=$out/logs/$name.log
  profile=$out/profiles/$name
  mkdir -p "$corpus" "$crashes" "$(dirname "$log")" "$profile"
  rm -f "$profile"/*.profraw
  # The work corpus keeps what earlier runs found; the seeds are copied in each time.
  cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
  options=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$crashes/")
  [ -f "$here/tests/fuzz/$name/dict" ] && options+=(-dict="$here/tests/fuzz/$name/dict")
  echo "[fuzz] $name: $seconds s" >&2
  status=0
  LLVM_PROFILE_FILE="$profile/%p.profraw" "$out/$name" "${options[@]}" "$corpus" >"$log" 2>&1 || status=$?

  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1 || true)
  lines="-"
  if ls "$profile"/*.profraw >/dev/null 2>&1; then
    llvm-profdata-14 merge -sparse "$profile"/*.profraw -o "$profile/merged.profdata"
    mapfile -t sources < "$out/sources/$name"
    lines=$(llvm-cov-14 report "$out/$name" -instr-profile="$profile/merged.profdata" "${sources[@]}" |
      awk '$1 == "TOTAL" { print $(NF - 3) }')
    llvm-cov-14 report "$out/$name" -instr-profile="$profile/merged.profdata" "${sources[@]}" \
      > "$out/logs/$name.coverage.txt"
  fi
  result="no crash"
  if [ "$status" -ne 0 ]; then
    artifact=$(ls -t "$crashes"/ 2>/dev/null | head -1)
    reason=$(grep -m1 -E '^==[0-9]+==ERROR|runtime error|property does not hold|deadly signal|out-of-memory|timeout' "$log" || true)
    result="CRASH (exit $status): ${reason:-see $log}${artifact:+; input $crashes/$artifact}"
    crashed+=("$name")
  fi
  summary+=("$(printf '%-15s executions %-10s %-20s lines %-8s %s' "$name" "${executions:-?}" "${coverage:-cov: ?}" "$lines" "$result")")
done

echo
echo "Fuzzing, $seconds s per fuzzer (logs and coverage reports in $out/logs):"
printf '  %s\n' "${summary[@]}"
if [ ${#crashed[@]} -gt 0 ]; then
  echo "Crashed: ${crashed[*]}"
  exit 1
fi
