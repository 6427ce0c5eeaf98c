#!/usr/bin/env bash
# Emulator for the Windows test binaries: runs a program under Wine in the project's prefix.
# The prefix is created once (under a lock) and its session is booted once, detached from the
# caller's pipes, and kept alive by a persistent wineserver; after that a call costs one
# `exec wine`, about 0.05-0.2 s. Without the detached session ctest would wait ~2.5 s per test for
# Wine's daemons to let go of its output pipe.
set -euo pipefail

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Hungarian code pages (1250/852), as on the administrators' machines.
export LANG=hu_HU.UTF-8 LC_ALL=hu_HU.UTF-8

prefix="${WINEPREFIX:-${FBWB_WINEPREFIX:-$HOME/.cache/fbwb/wineprefix}}"
mkdir -p "$prefix"
# One spelling per prefix: the running session is recognised by this exact text.
WINEPREFIX="$(cd "$prefix" && pwd -P)"
export WINEPREFIX

# Where the fixture machine (tests/fixtures/make-machine.sh) keeps the databases.
printf -v year '%(%Y)T' -1
export FBWB_MACHINE_ROOT='C:\KELMORA.WIN'
export FBWB_DATA_FOLDER="C:\\KELMORA.WIN\\$year\\adat"

session_file="$WINEPREFIX/.fbwb-session"

# True when this prefix's services.exe (the booted session) is running.
session_alive() {
  local pid comm
  [ -r "$session_file" ] || return 1
  read -r pid <"$session_file" || return 1
  [ -n "$pid" ] && read -r comm 2>/dev/null <"/proc/$pid/comm" || return 1
  [ "$comm" = services.exe ] && grep -qzx "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null
}

find_session() {
  local pid
  for pid in $(pgrep -x services.exe); do
    if grep -qzx "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null; then
      echo "$pid" >"$session_file"
      return 0
    fi
  done
  return 1
}

if [ -f "$WINEPREFIX/.fbwb-ready" ] && session_alive; then
  exec wine "$@"
fi

exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/.fbwb-ready" ]; then
  if ! locale -a 2>/dev/null | grep -qix 'hu_HU.utf-\?8'; then
    echo "wine-run.sh: the hu_HU.UTF-8 locale is not generated (run scripts/install-deps.sh); Wine would use code pages 1252/437" >&2
    exit 1
  fi
  wineboot -i </dev/null >/dev/null 2>&1 9>&-
  # Headless: Wine's null graphics driver (the demo's own prefix uses x11).
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d "${FBWB_WINE_GRAPHICS:-null}" /f \
    </dev/null >/dev/null 2>&1 9>&-
  # Marlett and friends, so that caption buttons are drawn in screenshots.
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # Let the first session end, so that the next one starts with the settings above.
  wineserver -w 9>&-
  touch "$WINEPREFIX/.fbwb-ready"
fi
if ! session_alive && ! find_session; then
  wineserver -p 9>&- </dev/null >/dev/null 2>&1 || true
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 9>&- || true
  find_session || true
fi
flock -u 9
exec 9>&-
exec wine "$@"
