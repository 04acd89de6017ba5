#!/usr/bin/env bash
# The Windows program started from a folder that also holds a gdiplus.dll of the tests' own, as a
# downloads folder may, under Wine told to prefer a DLL found there to its own: the program must
# still take the system's. Exit 77 (skipped) where Xvfb is missing. Usage: planted-dll.sh wine
# brenvik-drive.exe brenvik.exe gdiplus.dll
set -euo pipefail
wine=$1 driver=$2 program=$3 planted=$4
overrides="gdiplus=n,b"
# shellcheck source=tests/win32/wine-session.sh
source "$(dirname "$0")/wine-session.sh"
folder="$WINEPREFIX/drive_c/scaricati"
mkdir -p "$folder"
cp "$program" "$folder/brenvik.exe"
cp "$planted" "$folder/gdiplus.dll"
cp "$driver" "$WINEPREFIX/drive_c/brenvik-drive.exe"
cd "$WINEPREFIX/drive_c"
"$wine" 'C:\brenvik-drive.exe' --planted 'C:\scaricati\brenvik.exe'
