# Sourced by the scripts that run Windows programs: a private Wine prefix, one persistent
# wineserver and an X display (Xvfb when there is none).
#   VORLIX_WINEPREFIX  the prefix to use (default: ./wineprefix in the current folder)

# Debian's wine64 package puts neither program on PATH.
VORLIX_WINE=/usr/lib/wine/wine64
VORLIX_WINESERVER=/usr/lib/wine/wineserver
export WINEPREFIX=${VORLIX_WINEPREFIX:-$PWD/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# Wine takes its ANSI code page from the locale: C gives code page 1252, which the tests expect.
export LC_ALL=C.UTF-8
# No Mono or Gecko install prompts: the project needs neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

vorlix_display_works() {
  [ -n "${DISPLAY:-}" ] && command -v xdpyinfo >/dev/null 2>&1 && xdpyinfo >/dev/null 2>&1 && return 0
  [ -n "${DISPLAY:-}" ] && ! command -v xdpyinfo >/dev/null 2>&1 && [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ]
}

# Starts (once per prefix) an Xvfb display and remembers its number beside the prefix.
vorlix_ensure_display() {
  if vorlix_display_works; then return 0; fi
  local file="$WINEPREFIX.display"
  if [ -s "$file" ] && [ -e "/tmp/.X11-unix/X$(cat "$file")" ] && kill -0 "$(cat "$file.pid" 2>/dev/null)" 2>/dev/null; then
    export DISPLAY=":$(cat "$file")"
    return 0
  fi
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 8>&- 9>&- &
  echo $! >"$file.pid"
  local number
  read -r number <"$fifo"
  rm -f "$fifo"
  echo "$number" >"$file"
  export DISPLAY=":$number"
  # A wineserver left from an earlier display would keep Wine's desktop on the old one.
  "$VORLIX_WINESERVER" -k >/dev/null 2>&1 || true
}

# True when a wineserver is serving this prefix.
vorlix_server_running() {
  local id
  id=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
  compgen -G "/tmp/wine-*/$id/socket" >/dev/null || compgen -G "/tmp/.wine-$(id -u)/$id/socket" >/dev/null
}

# Creates the prefix on first use and keeps one wineserver running for it. Wine's own background
# processes are started here with no terminal or pipe of ours, so that a caller reading our
# output (ctest) is not kept waiting for them.
vorlix_ensure_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$VORLIX_WINE" wineboot -i </dev/null >/dev/null 2>&1 9>&- || true
      "$VORLIX_WINESERVER" -w 9>&-
    fi
    if [ ! -f "$WINEPREFIX/.vorlix-unmanaged" ]; then
      # Xvfb has no window manager; unmanaged windows spare a wait of seconds on every close.
      "$VORLIX_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        </dev/null >/dev/null 2>&1 9>&- && touch "$WINEPREFIX/.vorlix-unmanaged"
    fi
    if [ ! -f "$WINEPREFIX/.vorlix-fonts" ]; then
      # Wine has no Courier New; Liberation Mono has its metrics (Debian's fonts-liberation).
      "$VORLIX_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' \
        /d 'Liberation Mono' /f </dev/null >/dev/null 2>&1 9>&- && touch "$WINEPREFIX/.vorlix-fonts"
    fi
    if ! vorlix_server_running; then
      "$VORLIX_WINESERVER" -p60 </dev/null >/dev/null 2>&1 9>&- || true
      "$VORLIX_WINE" wineboot </dev/null >/dev/null 2>&1 9>&- || true
    fi
  ) 9>"$WINEPREFIX.lock"
}

vorlix_wine_setup() {
  (
    flock 8
    vorlix_ensure_display
    echo "$DISPLAY" >"$WINEPREFIX.env"
  ) 8>"$WINEPREFIX.display.lock"
  DISPLAY=$(cat "$WINEPREFIX.env")
  export DISPLAY
  vorlix_ensure_prefix
}

# Ends this prefix's wineserver and the Xvfb started for it.
vorlix_wine_stop() {
  "$VORLIX_WINESERVER" -k >/dev/null 2>&1 || true
  if [ -s "$WINEPREFIX.display.pid" ]; then
    kill "$(cat "$WINEPREFIX.display.pid")" 2>/dev/null || true
    rm -f "$WINEPREFIX.display.pid" "$WINEPREFIX.display" "$WINEPREFIX.env"
  fi
}
