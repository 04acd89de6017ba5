#!/usr/bin/env bash
# The Windows program end to end under Wine: a fresh Wine prefix, a virtual X display of its own,
# and the driver (DriveProgram.cpp) working brenvik.exe as a user would. Exit 77 (skipped) where
# Xvfb is missing; then once more on a 144 dpi screen. Usage: end-to-end.sh wine brenvik-drive.exe
# brenvik.exe
set -euo pipefail
wine=$1 driver=$2 program=$3
# shellcheck source=tests/win32/wine-session.sh
source "$(dirname "$0")/wine-session.sh"
cp "$program" "$WINEPREFIX/drive_c/brenvik.exe"
cp "$driver" "$WINEPREFIX/drive_c/brenvik-drive.exe"
cd "$WINEPREFIX/drive_c"
"$wine" 'C:\brenvik-drive.exe' 'C:\brenvik.exe' 'C:\brenvik-e2e'
# Again on a 144 dpi screen: Wine reads the dpi when its server starts.
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
wineserver -w
"$wine" 'C:\brenvik-drive.exe' 'C:\brenvik.exe' 'C:\brenvik-e2e' --at-144-dpi
