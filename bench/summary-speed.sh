#!/usr/bin/env bash
# Times `vorlixc summary SHARE --recurse --html PAGE` over a collecting share, under Wine, as a
# ratio to the floor measured in the same run: a plain program that lists the share's folders
# and reads each of its files whole. The share is made from reports that the real vorlixc.exe
# wrote over three machine states of its own prefix (every check passing, the licence folder
# missing, the project folder missing), copied as 2,000 workstations x 10 days of the logon
# script, plus the JSON twins of the last day (bench/make-share.py). The goal: at most 2 times
# the floor, a peak working set of at most 256 MB and a page of at most 16 MB.
#   VORLIX_BENCH_BUILD     Windows build folder (default build/windows)
#   VORLIX_BENCH_STATIONS  workstations (default 2000)
#   VORLIX_BENCH_DAYS      daily reports of each (default 10)
#   VORLIX_BENCH_ROUNDS    rounds of summary and floor, taking turns; medians (default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VORLIX_BENCH_BUILD:-build/windows}
stations=${VORLIX_BENCH_STATIONS:-2000}
days=${VORLIX_BENCH_DAYS:-10}
rounds=${VORLIX_BENCH_ROUNDS:-3}

[ -f "$build/CMakeCache.txt" ] || cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target summary_bench vorlixc >/dev/null
# A prefix of its own: the machine states below must not meet the tests' registry.
export VORLIX_WINEPREFIX=$PWD/$build/wineprefix-summary-bench
run() { tools/wine-run "$@" >/dev/null 2>&1; }
run reg add 'HKLM\Software\Tarnwick\Tarnwick' /v TarnWickPath /d 'C:\Tarnwick' /f
drive=$VORLIX_WINEPREFIX/drive_c
scratch=$drive/vorlix-bench
rm -rf "$scratch"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$drive/Tarnwick" "$drive/Prog/Ostrelan" "$drive/Licence" "$drive/Projects"
printf 'MZ' >"$drive/Prog/Ostrelan/Ostrelan.exe"
printf '[Ostrelan]\r\nUsers=5\r\n' >"$drive/Licence/Ostrelan.ini"
run reg add 'HKLM\Software\Tarnwick\Ostrelan' /v Path /d 'C:\Prog\Ostrelan' /f
run reg add 'HKLM\Software\Tarnwick\Ostrelan' /v ProgramName /d 'Ostrelan 7' /f
run reg add 'HKLM\Software\Tarnwick\Ostrelan' /v SectionsFormat /d 3 /f
run reg add 'HKLM\Software\Tarnwick\Ostrelan' /v SectionsRelease /d 1 /f
for state in pass licence project; do
  licence='C:\Licence'
  project='C:\Projects'
  [ "$state" = licence ] && licence='C:\Licence-gone'
  [ "$state" = project ] && project='C:\Projects-gone'
  printf '[Ostrelan]\r\nLicenseFolder=%s\r\nUsers=5\r\n' "$licence" >"$drive/Prog/Ostrelan/Ostrelan.Ini"
  run reg add 'HKCU\Software\Tarnwick\Tarnwick' /v TarnWickProjectPath /d "$project" /f
  mkdir -p "$scratch/source/$state"
  tools/wine-run "$build/vorlixc.exe" report Ostrelan --full --out-dir "C:\\vorlix-bench\\source\\$state" \
    --json-dir "C:\\vorlix-bench\\source\\$state" >/dev/null 2>&1 || true
  echo "$state: $(grep -c 'FAILED: ' "$scratch/source/$state"/*.txt) failed lines"
done
bench/make-share.py "$scratch/source" "$scratch/share" "$stations" "$days"

echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')," \
  "$(/usr/lib/wine/wine64 --version 2>/dev/null || echo wine), load average $(cut -d' ' -f1-3 /proc/loadavg)"
status=0
line=$(tools/wine-run "$build/bench/summary_bench.exe" 'C:\vorlix-bench\share' \
  'C:\vorlix-bench\summary.html' "$rounds" | tr -d '\r') || status=$?
echo "$line"
echo "load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "goal: ratio_floor <= 2, peak_working_set_mb <= 256, page_mb <= 16"
[ "$status" -eq 0 ] || { echo "the summary failed; its message:" >&2
  tools/wine-run "$build/vorlixc.exe" summary 'C:\vorlix-bench\share' --recurse >/dev/null || true; exit 1; }
awk '{ for (i = 1; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] } }
     END { exit !(v["ratio_floor"] <= 2 && v["peak_working_set_mb"] <= 256 && v["page_mb"] <= 16) }' <<<"$line"
