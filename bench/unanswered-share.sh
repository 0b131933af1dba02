#!/usr/bin/env bash
# Times `vorlixc report Ostrelan --full` under Wine: the licence folder on C:, on a share whose
# server never answers (each operation waits and fails with ETIME, which Wine gives as
# ERROR_SEM_TIMEOUT), and everything on a share that answers each operation late. Counts the
# operations that reached the dead share. Takes the vorlixc.exe files to measure, one after the
# other in one run (default: the built one); the delays come from tests/support/with-fuse-shares
# (VORLIX_DEAD_DELAY, VORLIX_SLOW_DELAY).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -gt 0 ] || set -- "$here/../build/windows/vorlixc.exe"
if [ -z "${VORLIX_DEAD_COUNT:-}" ]; then
  export VORLIX_WINEPREFIX=${VORLIX_WINEPREFIX:-$here/../build/windows/bench-prefix}
  exec "$here/../tests/support/with-fuse-shares" "$0" "$@"
fi
. "$here/../tools/wine-env.sh"
wine() { "$VORLIX_WINE" "$@" </dev/null >/dev/null 2>&1; }
root=$WINEPREFIX/drive_c/unanswered
slow=$WINEPREFIX/dosdevices/unc/slow/share
mkdir -p "$root/Ostrelan" "$root/Project" "$root/Licence" "$slow/Ostrelan"
for folder in "$root/Ostrelan" "$slow/Ostrelan"; do printf 'MZ' >"$folder/Ostrelan.exe"; done
wine reg add 'HKLM\Software\Tarnwick\Tarnwick' /v TarnWickPath /d 'C:\unanswered' /f
wine reg add 'HKCU\Software\Tarnwick\Tarnwick' /v TarnWickProjectPath /d 'C:\unanswered\Project' /f

count() { cat "$VORLIX_DEAD_COUNT" 2>/dev/null || echo 0; }
# CASE PROGRAM-FOLDER (Windows) PROGRAM-FOLDER (Unix) LICENCE-FOLDER
measure() {
  printf '[Ostrelan]\r\nLicenseFolder=%s\r\n' "$4" >"$3/Ostrelan.Ini"
  wine reg add 'HKLM\Software\Tarnwick\Ostrelan' /v Path /d "$2" /f
  local before start end
  before=$(count)
  start=$(date +%s.%N)
  "$VORLIX_WINE" "$exe" report Ostrelan --full </dev/null >"$root/report.txt" 2>&1 || true
  end=$(date +%s.%N)
  printf '%-36s %6.1f s   %3d operations on the dead share\n' "$1" \
    "$(awk "BEGIN { print $end - $start }")" $(($(count) - before))
}
for exe in "$@"; do
  exe=$(realpath "$exe")
  echo "$exe (dead share ${VORLIX_DEAD_DELAY:-0.4} s, slow share ${VORLIX_SLOW_DELAY:-0.05} s per operation)"
  measure "licence folder on C:" 'C:\unanswered\Ostrelan' "$root/Ostrelan" 'C:\unanswered\Licence'
  measure "licence folder on the dead share" 'C:\unanswered\Ostrelan' "$root/Ostrelan" '\\dead\share\Licence'
  measure "everything on the slow share" '\\slow\share\Ostrelan' "$slow/Ostrelan" '\\slow\share\Licence'
done
