# Sourced by the run and test scripts: one Wine prefix per build folder, one
# X display and one persistent wineserver per run.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QK_BUILD_DIR:-$root/build}"

# QK_WINEPREFIX gives a run a Wine session of its own (scripts/fuzz.sh beside test.sh).
export WINEPREFIX="${QK_WINEPREFIX:-$build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export TZ="${TZ:-UTC}"
# The user locale is fixed in the prefix (en-US); the Unix side only needs UTF-8.
export LANG=C.UTF-8
export LC_ALL=C.UTF-8
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
QK_XVFB_PID=""

# Creates the prefix once: virtual desktop (no window-manager waits) whose shell
# has a taskbar with a notification area (Wine 8.0 shows one on a virtual desktop
# by default, later versions only with EnableShell), no crash dialog (a crash
# must end the process, not hang it). The marker names the settings' version:
# a prefix prepared with older settings is prepared again.
QK_PREFIX_MARKER=".qk-ready-3"
qk_prepare_prefix() {
  [ -f "$WINEPREFIX/$QK_PREFIX_MARKER" ] && return 0
  mkdir -p "$WINEPREFIX"
  DISPLAY= "$WINE" wineboot --init >/dev/null 2>&1 || true
  local reg="$WINEPREFIX/qk-settings.reg"
  cat > "$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1280x1024"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops\Default]
"EnableShell"=dword:00000001

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Control Panel\International]
"Locale"="00000409"
"LocaleName"="en-US"
REG
  DISPLAY= "$WINE" regedit /S "$(winepath_of "$reg")" >/dev/null 2>&1
  # Wine 8.0 from Debian leaves the prefix's Fonts folder empty and does not
  # look in its own font folder: without Marlett, caption buttons and menu
  # check marks are drawn as the letters of their symbols.
  local fonts
  for fonts in /usr/share/wine/fonts /usr/lib/wine/fonts; do
    if [ -f "$fonts/marlett.ttf" ]; then
      cp "$fonts/marlett.ttf" "$WINEPREFIX/drive_c/windows/Fonts/"
      break
    fi
  done
  "$WINESERVER" -w
  touch "$WINEPREFIX/$QK_PREFIX_MARKER"
}

winepath_of() { echo "Z:${1//\//\\}"; }

# Starts a private Xvfb and exports its DISPLAY.
qk_start_xvfb() {
  local fifo
  fifo="$(mktemp -u)"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  QK_XVFB_PID=$!
  local number
  read -r -t 20 number <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$number"
}

# A persistent wineserver and one warm-up process make later starts fast.
qk_start_wineserver() {
  "$WINESERVER" -p
  "$WINE" cmd /c exit >/dev/null 2>&1 || true
}

qk_stop_all() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  if [ -n "$QK_XVFB_PID" ]; then
    kill "$QK_XVFB_PID" 2>/dev/null || true
    wait "$QK_XVFB_PID" 2>/dev/null || true
    QK_XVFB_PID=""
  fi
}
