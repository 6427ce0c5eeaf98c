#!/usr/bin/env bash
# Emulator for the Windows test binaries: runs a program under Wine in the project's prefix.
# The prefix is created once (under a lock) and its session is booted once, detached from the
# caller's pipes, and kept alive by a persistent wineserver; after that a call costs one
# `wine` run, about 0.05-0.2 s. Without the detached session ctest would wait ~2.5 s per test for
# Wine's daemons to let go of its output pipe.
set -euo pipefail

# Wine maps the shared user data at the fixed address 0x7ffe0000. Debian's wine64 loader has no
# preloader to reserve it and sits at 0x7d000000, and the kernel places its heap (brk) anywhere in the
# 1 GB above it: about one start in 2000 has the heap over that address and dies with "failed to map
# the shared user data: c0000018". Without address randomisation the heap starts right after the loader.
if [ -z "${FBWB_NO_ASLR:-}" ]; then
  FBWB_NO_ASLR=1 exec setarch "$(uname -m)" -R bash "$0" "$@"
fi

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# The program itself gets Wine's loader errors (images, imports, DLL start-up, processes); the test
# programs set WINEDEBUG back to -all for what they start (tests/harness/started_mark_win.cpp).
program_winedebug="-all,err+module,err+virtual,err+process,err+seh"
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

# The session is this prefix's persistent wineserver and its services.exe; the file keeps both pids.
# services.exe alone is not enough: it outlives a killed server for a moment, and a program started
# then would boot a session of its own on the caller's pipes.
is_ours() {  # PID NAME: the process is NAME and runs for this prefix
  local comm
  [ -n "$1" ] && read -r comm 2>/dev/null <"/proc/$1/comm" && [ "$comm" = "$2" ] &&
    grep -qzx "WINEPREFIX=$WINEPREFIX" "/proc/$1/environ" 2>/dev/null
}

is_persistent() {  # PID: the wineserver was started with -p (Debian's wineserver script adds -p0 first)
  tr '\0' '\n' <"/proc/$1/cmdline" 2>/dev/null | sed 1d | grep -qx -- -p
}

session_alive() {
  local services server
  [ -r "$session_file" ] && read -r services server <"$session_file" || return 1
  is_ours "$server" wineserver64 && is_ours "$services" services.exe
}

persistent_server() {  # prints the pid of this prefix's persistent wineserver
  local pid
  for pid in $(pgrep -x wineserver64); do
    if is_ours "$pid" wineserver64 && is_persistent "$pid"; then echo "$pid"; return 0; fi
  done
  return 1
}

find_session() {
  local pid server
  server="$(persistent_server)" || return 1
  for pid in $(pgrep -x services.exe); do
    if is_ours "$pid" services.exe; then
      echo "$pid $server" >"$session_file"
      return 0
    fi
  done
  return 1
}

# Starts the persistent server (after any other server of this prefix has ended: wine starts a
# short-lived one on demand) and boots the session detached from the caller's pipes.
boot_session() {
  if ! persistent_server >/dev/null; then
    if ! wineserver -p 9>&- </dev/null >/dev/null 2>&1; then
      wineserver -w 9>&-
      wineserver -p 9>&- </dev/null >/dev/null 2>&1 ||
        { echo "wine-run.sh: could not start a persistent wineserver for $WINEPREFIX" >&2; exit 1; }
    fi
  fi
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 9>&- || true
  find_session || { echo "wine-run.sh: the Wine session of $WINEPREFIX did not come up" >&2; exit 1; }
}

# Runs the program and passes on its exit code. A test program creates the file named in
# FBWB_STARTED_MARK once Wine has loaded it; when it fails without having done so, Wine did not start
# it, and this says so with the exit code (Wine's own message, if any, follows it).
# The program writes into a file that is passed on once it has ended: a Wine daemon that the program
# happens to start (it inherits the program's standard output) would otherwise keep the caller's pipe
# open, and ctest would wait for that daemon to end, up to two minutes after the test had passed.
run_program() {
  local mark output status=0
  mark="$(mktemp -u "${TMPDIR:-/tmp}/fbwb-started.XXXXXXXXXX")"
  output="$(mktemp "${TMPDIR:-/tmp}/fbwb-output.XXXXXXXXXX")"
  trap 'cat "$output"; rm -f "$output"' EXIT
  trap 'exit 143' TERM INT
  FBWB_STARTED_MARK="Z:${mark//\//\\}" WINEDEBUG="$program_winedebug" wine "$@" >"$output" 2>&1 </dev/null ||
    status=$?
  if [ -e "$mark" ]; then
    rm -f "$mark"
  elif [ "$status" -ne 0 ] && [ -f "$1" ] && grep -qa FBWB_STARTED_MARK "$1"; then
    echo "wine-run.sh: Wine did not start $1: exit code $status$(ntstatus_hint "$status")," \
      "session $(session_alive && echo running || echo gone), $(date '+%H:%M:%S.%N')" >&2
  fi
  exit "$status"
}

# Wine exits with the low byte of the NTSTATUS that stopped a process before its start.
ntstatus_hint() {
  case "$1" in
    53) echo " (0xC0000135: a DLL was not found)" ;;
    66) echo " (0xC0000142: a DLL failed to initialise)" ;;
    23) echo " (0xC0000017: no memory)" ;;
    123) echo " (0xC000007B: not a valid image)" ;;
    5) echo " (0xC0000005: access violation)" ;;
  esac
}

if [ -f "$WINEPREFIX/.fbwb-ready" ] && session_alive; then
  run_program "$@"
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
  boot_session
fi
flock -u 9
exec 9>&-
run_program "$@"
