#!/usr/bin/env bash
# brenvik.exe is one file that runs on any Windows as it is: every DLL it imports is part of the
# system, none comes from the compiler's runtime, and none is one that Windows would look for
# beside the program first (GDI+ is loaded at run time from the system's folder). Usage:
# imports.sh objdump brenvik.exe
set -euo pipefail
dlls=$("$1" -p "$2" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ -n "$dlls" ] || { echo "no import table read from $2"; exit 1; }
status=0
while read -r dll; do
    case "${dll,,}" in
    kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | comctl32.dll | shlwapi.dll | msvcrt.dll | \
        ole32.dll | shell32.dll) echo "system: $dll" ;;
    *) echo "not a system DLL: $dll"; status=1 ;;
    esac
done <<<"$dlls"
exit $status
