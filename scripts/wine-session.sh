# Sourced by the run and test commands: a private X display and a fresh Wine
# prefix for this run, started once and torn down on exit.
#   wine_session_start [--keep-display]   (uses $DISPLAY when --keep-display and set)
#     VEXLAN_WINE_DPI=144 before it gives the prefix that DPI (96 otherwise)
#   wine_session_stop                      (also runs on EXIT)

wine_session_start() {
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  WINE_SESSION_DIR=$(mktemp -d /tmp/vexlan-wine.XXXXXX)
  export WINEPREFIX="$WINE_SESSION_DIR/prefix"
  WINE_SESSION_XVFB_PID=
  if [ "${1:-}" != "--keep-display" ] || [ -z "${DISPLAY:-}" ]; then
    local n
    for n in $(seq 90 140); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$WINE_SESSION_DIR/xvfb.log" 2>&1 &
      WINE_SESSION_XVFB_PID=$!
      local i
      for i in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
      done
      if kill -0 "$WINE_SESSION_XVFB_PID" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
        export DISPLAY=":$n"
        break
      fi
      kill "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
      wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
      WINE_SESSION_XVFB_PID=
    done
    [ -n "$WINE_SESSION_XVFB_PID" ] || { echo "wine-session: could not start Xvfb" >&2; return 1; }
  fi
  trap wine_session_stop EXIT
  wineboot --init >"$WINE_SESSION_DIR/wineboot.log" 2>&1
  wineserver -w
  # On our own Xvfb there is no window manager: Wine draws frames and
  # captions itself. On a real desktop the window manager does.
  if [ -n "$WINE_SESSION_XVFB_PID" ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
  fi
  wine_session_fonts
  if [ -n "${VEXLAN_WINE_DPI:-}" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$VEXLAN_WINE_DPI" /f >/dev/null 2>&1
    wineserver -w
  fi
  wineserver -p
  # The first Wine process after boot starts Wine's own services, which keep
  # whatever output pipes they inherit open; start them here on /dev/null so
  # that ctest is not left waiting for those pipes to close.
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

# Before a soak: a program that crashes ends instead of waiting on Wine's
# crash dialog, so that the soak sees it die.
soak_prepare() {
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
}

# Every script drawn: see scripts/wine-fonts.sh.
wine_session_fonts() {
  bash "$(dirname "${BASH_SOURCE[0]}")/wine-fonts.sh" >/dev/null
}

wine_session_stop() {
  [ -n "${WINE_SESSION_DIR:-}" ] || return 0
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  if [ -n "${WINE_SESSION_XVFB_PID:-}" ]; then
    kill "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
  fi
  rm -rf "$WINE_SESSION_DIR"
  WINE_SESSION_DIR=
}
