#!/usr/bin/env bash
# Times a "Full" report whose licence folder holds 1,000, 10,000 and 100,000 entries, from the
# report's start to the memo-like edit control showing it, under Wine. Beside it, in the same run:
# the floor (a bare FindFirstFile/FindNextFile pass plus loading a text of the report's size into
# such an edit control) and the peer ("cmd /c dir /a" of the folder).
#   VORLIX_BENCH_BUILD   Windows build folder (default build/windows)
#   VORLIX_BENCH_SIZES   entry counts (default "1000 10000 100000")
#   VORLIX_BENCH_ROUNDS  timed rounds of report and floor, median taken (default 3)
#   VORLIX_BENCH_PEER_ROUNDS  rounds of the peer (default: as many, but 1 above 10,000 entries,
#                        where one "dir" takes minutes under Wine)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VORLIX_BENCH_BUILD:-build/windows}
sizes=${VORLIX_BENCH_SIZES:-1000 10000 100000}
rounds=${VORLIX_BENCH_ROUNDS:-3}

[ -f "$build/CMakeCache.txt" ] || cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target report_bench >/dev/null
export VORLIX_WINEPREFIX=$PWD/$build/wineprefix

printf '%8s %10s %10s %10s %9s %9s %9s %10s %10s\n' entries report_ms floor_ms peer_ms us/entry \
  x_floor x_peer peakWS_MB peakPF_MB
for n in $sizes; do
  peer_rounds=${VORLIX_BENCH_PEER_ROUNDS:-$([ "$n" -gt 10000 ] && echo 1 || echo "$rounds")}
  tools/wine-run "$build/bench/report_bench.exe" "$n" "$rounds" "$peer_rounds" | tr -d '\r' | awk '
    {
      for (i = 1; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] }
      printf "%8d %10.1f %10.1f %10.1f %9.2f %9.2f %9.2f %10.1f %10.1f\n", v["entries"],
        v["report_ms"], v["floor_ms"], v["peer_ms"], v["report_us_per_entry"], v["ratio_floor"],
        v["ratio_peer"], v["peak_working_set_mb"], v["peak_pagefile_mb"]
      printf "%8s report until its text is ready %.1f ms, bare listing %.1f ms, folder built in %.1f s\n",
        "", v["report_text_ms"], v["floor_list_ms"], v["create_s"]
      if (v["listed"] < v["entries"]) print "  warning: the floor listed only " v["listed"] " entries"
    }'
done
echo "goal: x_floor <= 1.3 and x_peer < 1 at every size; us/entry about constant"
