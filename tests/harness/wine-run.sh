#!/usr/bin/env bash
# Emulator for the Windows test binaries: runs a program under Wine in the project's prefix,
# creating and booting that prefix once (under a lock) so that each test costs a fraction of a second.
set -euo pipefail

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Hungarian code pages (1250/852), as on the administrators' machines.
export LANG=hu_HU.UTF-8 LC_ALL=hu_HU.UTF-8
export WINEPREFIX="${WINEPREFIX:-${FBWB_WINEPREFIX:-$HOME/.cache/fbwb/wineprefix}}"

mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/.fbwb-ready" ]; then
  wineboot -i </dev/null >/dev/null 2>&1 9>&-
  # Headless: Wine's null graphics driver (screenshots switch to x11 themselves).
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d "${FBWB_WINE_GRAPHICS:-null}" /f </dev/null >/dev/null 2>&1 9>&-
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  wineserver -w 9>&-
  touch "$WINEPREFIX/.fbwb-ready"
fi
# A persistent session started outside ctest's pipes: otherwise every test waits for Wine's daemons.
wineserver -p 9>&- 2>/dev/null || true
if ! pgrep -f 'C:\\windows\\system32\\services.exe' >/dev/null; then
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 9>&- || true
fi
flock -u 9
exec 9>&-
exec wine "$@"
