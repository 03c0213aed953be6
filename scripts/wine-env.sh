# Wine session for running Windows programs: a virtual X display and a Wine prefix.
#
# Sourced:   source scripts/wine-env.sh; lumivexa_wine_start; ...; lumivexa_wine_stop
# Executed:  scripts/wine-env.sh COMMAND ARGS...   runs one command inside a session,
#            e.g. scripts/wine-env.sh ctest --test-dir build/win32 -R SingleInstance
#
# lumivexa_wine_start starts Xvfb on a free display (unless DISPLAY is set and
# LUMIVEXA_XVFB is not 1), makes the display's Wine prefix under the machine cache
# once, points D: at build/sample-disc and keeps one wineserver alive for the
# session. lumivexa_wine_stop ends only what the start started.
# Settings: LUMIVEXA_SCREEN (Xvfb screen, default 1024x768x24); LUMIVEXA_DPI (display
# scale in dots per inch, default 96: another value gets a prefix of its own, so a
# shared prefix never stays at another scale).

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

LUMIVEXA_WINE=/usr/lib/wine/wine
LUMIVEXA_WINE64=/usr/lib/wine/wine64
LUMIVEXA_WINESERVER=/usr/lib/wine/wineserver
LUMIVEXA_XVFB_PID=
LUMIVEXA_WINESERVER_UP=

# Starts Xvfb on the first display number that is free and answers; sets DISPLAY.
lumivexa_start_xvfb() {
  local n pid tries log
  mkdir -p "$LUMIVEXA_CACHE"
  for ((n = 90; n < 190; n++)); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    log=$LUMIVEXA_CACHE/xvfb-$n.log
    Xvfb ":$n" -screen 0 "${LUMIVEXA_SCREEN:-1024x768x24}" -nolisten tcp </dev/null >"$log" 2>&1 &
    pid=$!
    for ((tries = 0; tries < 200; tries++)); do
      kill -0 "$pid" 2>/dev/null || break   # lost the race for this number: try the next
      if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        LUMIVEXA_XVFB_PID=$pid
        export DISPLAY=":$n"
        return 0
      fi
      sleep 0.05
    done
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
  done
  echo "wine-env: could not start Xvfb (see $LUMIVEXA_CACHE/xvfb-*.log)" >&2
  return 1
}

# Registry settings of a test prefix: a virtual desktop (without it every window hide
# waits 2 s), no crash dialog (a crash exits at once with a backtrace) and D: as a CD-ROM.
lumivexa_wine_reg() {
  cat <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\Software\Wine\Drives]
"d:"="cdrom"
REG
  if [ "${LUMIVEXA_DPI:-96}" != 96 ]; then
    local dpi
    dpi=$(printf 'dword:%08x' "$LUMIVEXA_DPI")
    printf '\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=%s\n' "$dpi"
    printf '\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]\n"LogPixels"=%s\n' "$dpi"
  fi
}

# Makes WINEPREFIX once; a stamp with the Wine version and settings marks it complete.
lumivexa_make_prefix() {
  local stamp
  stamp=$( (wine --version; lumivexa_wine_reg) | sha256sum | cut -d' ' -f1)
  [ "$(cat "$WINEPREFIX/.lumivexa-ready" 2>/dev/null)" = "$stamp" ] && return 0
  echo "== making Wine prefix $WINEPREFIX" >&2
  "$LUMIVEXA_WINESERVER" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  # No Mono/Gecko installers: they would ask questions in a dialog.
  WINEDLLOVERRIDES="mscoree,mshtml=" "$LUMIVEXA_WINE64" wineboot -i >/dev/null 2>&1 || return 1
  "$LUMIVEXA_WINESERVER" -w
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"   # else caption buttons draw as letters
  lumivexa_wine_reg > "$WINEPREFIX/drive_c/lumivexa.reg"
  # The 64-bit regedit: the 32-bit one would put HKLM values under Wow6432Node.
  "$LUMIVEXA_WINE64" regedit /S 'C:\lumivexa.reg' >/dev/null 2>&1 || return 1
  "$LUMIVEXA_WINESERVER" -w
  echo "$stamp" > "$WINEPREFIX/.lumivexa-ready"
}

lumivexa_wine_start() {
  if [ -z "${DISPLAY:-}" ] || [ "${LUMIVEXA_XVFB:-}" = 1 ]; then
    lumivexa_start_xvfb || return 1
  fi
  # One prefix per display, so sessions on different displays never share a wineserver.
  export WINEPREFIX=$LUMIVEXA_CACHE/wine/prefix-$(printf %s "${DISPLAY#:}" | tr -c A-Za-z0-9. _)
  [ "${LUMIVEXA_DPI:-96}" = 96 ] || WINEPREFIX+=-dpi$LUMIVEXA_DPI
  export WINEDEBUG=-all
  lumivexa_make_prefix || { lumivexa_wine_stop; return 1; }
  "$LUMIVEXA_WINESERVER" -k 2>/dev/null || true   # a server left over on this prefix
  "$LUMIVEXA_WINESERVER" -w
  rm -f "$WINEPREFIX/dosdevices/d:"
  if [ -d "$LUMIVEXA_ROOT/build/sample-disc" ]; then
    ln -sfn "$LUMIVEXA_ROOT/build/sample-disc" "$WINEPREFIX/dosdevices/d:"
  fi
  # One server for the whole session, so programs start quickly; its helper processes
  # (services, the desktop) start now with no terminal or pipe of a caller to hold open.
  "$LUMIVEXA_WINESERVER" -p </dev/null >/dev/null 2>&1
  LUMIVEXA_WINESERVER_UP=1
  "$LUMIVEXA_WINE64" wineboot </dev/null >/dev/null 2>&1 || true
}

lumivexa_wine_stop() {
  if [ -n "$LUMIVEXA_WINESERVER_UP" ]; then
    "$LUMIVEXA_WINESERVER" -k 2>/dev/null || true
    "$LUMIVEXA_WINESERVER" -w 2>/dev/null || true
    LUMIVEXA_WINESERVER_UP=
  fi
  if [ -n "$LUMIVEXA_XVFB_PID" ]; then
    kill "$LUMIVEXA_XVFB_PID" 2>/dev/null || true
    wait "$LUMIVEXA_XVFB_PID" 2>/dev/null || true
    LUMIVEXA_XVFB_PID=
    unset DISPLAY
  fi
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  [ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }
  trap lumivexa_wine_stop EXIT
  trap 'exit 130' INT TERM
  lumivexa_wine_start || exit 1
  "$@"
  exit $?
fi
