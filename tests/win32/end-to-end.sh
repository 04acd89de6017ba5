#!/usr/bin/env bash
# The Windows program end to end under Wine: a fresh Wine prefix, a virtual X display of its own,
# and the driver (DriveProgram.cpp) working brenvik.exe as a user would. Exit 77 (skipped) where
# Xvfb is missing; then once more on a 144 dpi screen. Usage: end-to-end.sh wine brenvik-drive.exe
# brenvik.exe
set -euo pipefail
wine=$1 driver=$2 program=$3
command -v Xvfb >/dev/null || { echo "Xvfb is not installed: skipped"; exit 77; }
work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' LANG=C.UTF-8 LC_ALL=C.UTF-8
xvfb=
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
# The first display number that no other server holds.
for n in $(seq 70 99); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { display=$n; break; }
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=":$display"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
"$wine" wineboot.exe --init >"$work/prefix.log" 2>&1
cp "$program" "$WINEPREFIX/drive_c/brenvik.exe"
cp "$driver" "$WINEPREFIX/drive_c/brenvik-drive.exe"
cd "$WINEPREFIX/drive_c"
"$wine" 'C:\brenvik-drive.exe' 'C:\brenvik.exe' 'C:\brenvik-e2e'
# Again on a 144 dpi screen: Wine reads the dpi when its server starts.
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
wineserver -w
"$wine" 'C:\brenvik-drive.exe' 'C:\brenvik.exe' 'C:\brenvik-e2e' --at-144-dpi
