#!/usr/bin/env bash
# Times a "Full" report whose licence folder holds 1,000, 10,000 and 100,000 entries as the user
# meets it, under Wine: the built vorlix.exe is started, the program and "Full" are chosen and
# "&Create" is clicked from outside; the time runs until the click has been handled and the memo
# is painted, and the memo must hold the whole report. Beside it, in the same run and prefix: the
# floor (a bare FindFirstFile/FindNextFile pass plus one SetWindowText of the same text into an
# edit control made like the memo), the peer ("cmd /c dir /a" of the folder), and the report's
# steps measured inside the bench's own process (text written, file round trip, memo load).
#   VORLIX_BENCH_BUILD   Windows build folder (default build/windows)
#   VORLIX_BENCH_SIZES   entry counts (default "1000 10000 100000")
#   VORLIX_BENCH_ROUNDS  timed rounds of report and floor, median taken (default 3)
#   VORLIX_BENCH_PEER_ROUNDS  rounds of the peer (default: as many, but 1 above 10,000 entries,
#                        where one "dir" takes minutes under Wine)
#   VORLIX_BENCH_VERBOSE set to print every round
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VORLIX_BENCH_BUILD:-build/windows}
sizes=${VORLIX_BENCH_SIZES:-1000 10000 100000}
rounds=${VORLIX_BENCH_ROUNDS:-3}

[ -f "$build/CMakeCache.txt" ] || cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target report_bench >/dev/null
export VORLIX_WINEPREFIX=$PWD/$build/wineprefix

echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')," \
  "$(/usr/lib/wine/wine64 --version 2>/dev/null || echo wine), load average $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%8s %10s %10s %10s %9s %8s %8s %9s\n' entries report_ms floor_ms peer_ms us/entry \
  x_floor x_peer peakWS_MB
status=0
for n in $sizes; do
  peer_rounds=${VORLIX_BENCH_PEER_ROUNDS:-$([ "$n" -gt 10000 ] && echo 1 || echo "$rounds")}
  line=$(tools/wine-run "$build/bench/report_bench.exe" "$n" "$rounds" "$peer_rounds" | tr -d '\r') ||
    status=$?
  awk '
    {
      for (i = 1; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] }
      printf "%8d %10.1f %10.1f %10.1f %9.2f %8.3f %8.3f %9.1f\n", v["entries"], v["report_ms"],
        v["floor_ms"], v["peer_ms"], v["report_us_per_entry"], v["ratio_floor"], v["ratio_peer"],
        v["peak_working_set_mb"]
      printf "%8s first click %.1f ms; floor: listing %.1f ms + load; in process: text %.1f ms, " \
        "file round trip %.1f ms, memo load %.1f ms; %d lines, whole=%d\n", "", v["first_click_ms"],
        v["floor_list_ms"], v["text_ms"], v["file_ms"], v["memo_ms"], v["lines"], v["whole"]
    }' <<<"$line"
done
echo "load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "goal: x_floor <= 1.15 and x_peer far below 1 at every size"
exit "$status"
