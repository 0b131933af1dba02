#!/usr/bin/env bash
# Where the window's silences come from when shares are slow or dead. Under Wine, with the FUSE
# servers of tests/support/with-fuse-shares (the dead share waits VORLIX_DEAD_DELAY, default 3 s,
# per operation and fails; the slow one adds VORLIX_SLOW_DELAY, default 0.05 s), the built
# vorlix.exe makes a "Full" report while window_silence.exe asks its window with WM_NULL every
# 20 ms. Each answer of 100 ms or more is printed with the share operations that were under way
# meanwhile and the process that made each (vorlix.exe, or wineserver: Wine's server process,
# through which every message between two processes passes).
#   bench/window-silence.sh [vorlix.exe]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$(realpath "${1:-$here/../build/windows/vorlix.exe}")
if [ -z "${VORLIX_DEAD_COUNT:-}" ]; then
  export VORLIX_WINEPREFIX=${VORLIX_WINEPREFIX:-$here/../build/windows/bench-prefix}
  export VORLIX_DEAD_DELAY=${VORLIX_DEAD_DELAY:-3} VORLIX_SLOW_DELAY=${VORLIX_SLOW_DELAY:-0.05}
  VORLIX_SHARE_LOG=$(mktemp -d)
  export VORLIX_SHARE_LOG
  status=0
  "$here/../tests/support/with-fuse-shares" "$0" "$exe" || status=$?
  rm -rf "$VORLIX_SHARE_LOG"
  exit $status
fi
. "$here/../tools/wine-env.sh"
asker=$here/../build/windows/bench/window_silence.exe
if [ ! -f "$asker" ] || [ "$here/window_silence.cpp" -nt "$asker" ] ||
  [ "$here/../src/app/command_running.h" -nt "$asker" ]; then
  mkdir -p "$(dirname "$asker")"
  x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -static -I "$here/../src" -o "$asker" \
    "$here/window_silence.cpp"
fi
wine() { "$VORLIX_WINE" "$@" </dev/null >/dev/null 2>&1; }
root=$WINEPREFIX/drive_c/silence
slow=$WINEPREFIX/dosdevices/unc/slow/share
mkdir -p "$root/Ostrelan" "$root/Project" "$root/Licence" "$slow/Ostrelan"
for folder in "$root/Ostrelan" "$slow/Ostrelan"; do printf 'MZ' >"$folder/Ostrelan.exe"; done
wine reg add 'HKLM\Software\Tarnwick\Tarnwick' /v TarnWickPath /d 'C:\silence' /f
wine reg add 'HKCU\Software\Tarnwick\Tarnwick' /v TarnWickProjectPath /d 'C:\silence\Project' /f

# CASE PROGRAM-FOLDER (Windows) PROGRAM-FOLDER (Unix) LICENCE-FOLDER [ASKER'S WORDS]
measure() {
  printf '[Ostrelan]\r\nLicenseFolder=%s\r\n' "$4" >"$3/Ostrelan.Ini"
  wine reg add 'HKLM\Software\Tarnwick\Ostrelan' /v Path /d "$2" /f
  echo "== $1 (dead share ${VORLIX_DEAD_DELAY} s, slow share ${VORLIX_SLOW_DELAY} s per operation)"
  "$VORLIX_WINE" "$exe" </dev/null >/dev/null 2>&1 &
  local program=$!
  "$VORLIX_WINE" "$asker" ${5:-} </dev/null 2>/dev/null | tr -d '\r' >"$VORLIX_SHARE_LOG/asked.txt" ||
    true
  wait "$program" || true
  grep -v '^silence' "$VORLIX_SHARE_LOG/asked.txt"
  # Each silence, and the share operations under way while it lasted (an operation lasts its
  # server's delay from the time logged).
  local clicked
  clicked=$(awk '/^clicked at/ { print $3 }' "$VORLIX_SHARE_LOG/asked.txt")
  while read -r _ took _ _ _ at; do
    echo "  silence of $took ms, $(awk "BEGIN { printf \"%.3f\", $at - ${clicked:-0} }") s after the click;" \
      "share operations under way meanwhile:"
    for share in dead slow; do
      delay=$([ $share = dead ] && echo "$VORLIX_DEAD_DELAY" || echo "$VORLIX_SLOW_DELAY")
      awk -v at="$at" -v took="$took" -v delay="$delay" -v share="$share" '
        $1 <= at + took / 1000 && $1 + delay >= at {
          printf "    %+8.3f s  \\\\%s\\share %-9s %-22s by %s\n", $1 - at, share, $2, $3, $5
        }' "$VORLIX_SHARE_LOG/$share.log" 2>/dev/null || true
    done
  done < <(grep '^silence' "$VORLIX_SHARE_LOG/asked.txt")
  : >"$VORLIX_SHARE_LOG/dead.log"
  : >"$VORLIX_SHARE_LOG/slow.log"
}
measure "no report: the idle window for 15 s" 'C:\silence\Ostrelan' "$root/Ostrelan" \
  'C:\silence\Licence' "idle 15"
measure "licence folder on the dead share, program folder on the slow share" \
  '\\slow\share\Ostrelan' "$slow/Ostrelan" '\\dead\share\Licence'
measure "everything on the slow share" '\\slow\share\Ostrelan' "$slow/Ostrelan" '\\slow\share\Licence'
measure "everything on C:" 'C:\silence\Ostrelan' "$root/Ostrelan" 'C:\silence\Licence'
