#!/usr/bin/env bash
# The Windows packages under Wine, as a user meets them, in a fresh Wine prefix on a virtual display:
# the zip holds the program and its LEGGIMI.txt; the installer, run silently, puts the program
# under the user's %LOCALAPPDATA%, its Start menu entry and its uninstall entry (HKCU, nothing in
# HKLM); the installed program starts as a new user's does (brenvik-drive --first-run) and ends;
# the uninstaller, run silently, leaves no program file, shortcut or uninstall entry behind, and the
# user's settings in place. Exit 77 (skipped) where Xvfb is missing.
# Usage: installer.sh wine brenvik-drive.exe setup.exe zip version
set -euo pipefail
wine=$1 driver=$(realpath "$2") setup=$(realpath "$3") zip=$(realpath "$4") version=$5
# winemenubuilder would copy the Start menu entry into the real home's menus.
overrides='winemenubuilder.exe=d'
# shellcheck source=tests/win32/wine-session.sh
source "$(dirname "$0")/wine-session.sh"

failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}
step() { echo "-- $*"; }
# A Windows path with its variables expanded, and the same path on this side.
expand() { "$wine" cmd.exe /c echo "$1" 2>/dev/null | tr -d '\r'; }
unix_path() { "$wine" winepath.exe -u "$1" 2>/dev/null | tr -d '\r'; }
# A registry value's data, or nothing when the value is missing.
reg_value() {
    { "$wine" reg.exe query "$1" /v "$2" 2>/dev/null || true; } | tr -d '\r' |
        awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brenvik'

step "the zip"
mkdir "$work/zip"
(cd "$work/zip" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
[ "$(cd "$work/zip" && find . -type f | sort | tr '\n' ' ')" = "./LEGGIMI.txt ./brenvik.exe " ] ||
    fail "the zip holds: $(cd "$work/zip" && find . -type f | tr '\n' ' ')"
if [ -f "$work/zip/LEGGIMI.txt" ]; then
    [ "$(head -c 3 "$work/zip/LEGGIMI.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] ||
        fail "LEGGIMI.txt does not start with UTF-8's byte-order mark"
    ! grep -q $'[^\r]$' "$work/zip/LEGGIMI.txt" || fail "LEGGIMI.txt has lines that do not end in CRLF"
    grep -q "Brenvik $version" "$work/zip/LEGGIMI.txt" || fail "LEGGIMI.txt does not name Brenvik $version"
fi

step "the installer asks for no administrator rights"
grep -aq 'level="asInvoker"' "$setup" || fail "the installer's manifest does not run it as the user who starts it"

step "silent install"
cp "$setup" "$WINEPREFIX/drive_c/setup.exe"
cp "$driver" "$WINEPREFIX/drive_c/brenvik-drive.exe"
"$wine" 'C:\setup.exe' /S || fail "the installer ended with status $?"
wineserver -w
program_dir_win="$(expand '%LOCALAPPDATA%')\\Programs\\Brenvik"
program_dir=$(unix_path "$program_dir_win")
shortcut=$(unix_path "$(expand '%APPDATA%')\\Microsoft\\Windows\\Start Menu\\Programs\\Brenvik.lnk")
[ -f "$program_dir/brenvik.exe" ] || fail "no brenvik.exe in $program_dir"
[ ! -f "$program_dir/brenvik.exe" ] || cmp -s "$program_dir/brenvik.exe" "$work/zip/brenvik.exe" ||
    fail "the installed brenvik.exe differs from the zip's"
[ -f "$program_dir/Disinstalla.exe" ] || fail "no uninstaller in $program_dir"
held=$(cd "$program_dir" 2>/dev/null && find . -type f | sort | tr '\n' ' ')
[ "$held" = "./Disinstalla.exe ./brenvik.exe " ] || fail "the program's folder holds: $held"
if [ -f "$shortcut" ]; then
    LC_ALL=C grep -aqi -e 'Programs\\Brenvik\\brenvik\.exe' -e 'b.r.e.n.v.i.k.\..e.x.e' "$shortcut" ||
        fail "the Start menu entry does not lead to brenvik.exe"
else
    fail "no Start menu entry $shortcut"
fi
[ "$(reg_value "$uninstall_key" DisplayName)" = Brenvik ] || fail "uninstall entry's name: $(reg_value "$uninstall_key" DisplayName)"
[ "$(reg_value "$uninstall_key" DisplayVersion)" = "$version" ] ||
    fail "uninstall entry's version: $(reg_value "$uninstall_key" DisplayVersion)"
[ "$(reg_value "$uninstall_key" Publisher)" = Tavora ] || fail "uninstall entry's publisher: $(reg_value "$uninstall_key" Publisher)"
[[ "$(reg_value "$uninstall_key" UninstallString)" == *'\Disinstalla.exe"' ]] ||
    fail "uninstall entry's command: $(reg_value "$uninstall_key" UninstallString)"
[[ "$(reg_value "$uninstall_key" DisplayIcon)" == *'\brenvik.exe,0' ]] ||
    fail "uninstall entry's icon: $(reg_value "$uninstall_key" DisplayIcon)"
! "$wine" reg.exe query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brenvik' >/dev/null 2>&1 ||
    fail "an uninstall entry for every user, in HKLM"

step "the installed program's first start"
"$wine" 'C:\brenvik-drive.exe' --first-run "$program_dir_win\\brenvik.exe" || fail "the first start did not go as a user's does"
wineserver -w

step "silent uninstall"
"$wine" "$program_dir_win\\Disinstalla.exe" /S || fail "the uninstaller ended with status $?"
# The uninstaller goes on from a copy of itself in the temporary folder.
wineserver -w
[ ! -e "$program_dir" ] || fail "left behind: $(find "$program_dir" | tr '\n' ' ')"
[ ! -e "$shortcut" ] || fail "the Start menu entry is left behind"
! "$wine" reg.exe query "$uninstall_key" >/dev/null 2>&1 || fail "the uninstall entry is left behind"
[ "$(reg_value 'HKCU\Software\Brenvik\Primoavvio' eseguito)" = 1 ] || fail "the user's settings went with the program"
[ "$(reg_value 'HKCU\Software\Brenvik\Destinazione' dir)" = 'C:\myfiles' ] || fail "the user's destination went with the program"

[ "$failures" -eq 0 ] || exit 1
echo "PASSED"
