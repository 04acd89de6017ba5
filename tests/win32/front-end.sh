#!/usr/bin/env bash
# The Windows front end's tests (FrontEndTest.cpp) under Wine: a fresh Wine prefix, a virtual X
# display of its own. Exit 77 (skipped) where Xvfb is missing. Usage: front-end.sh wine test.exe
set -euo pipefail
wine=$1 tests=$2
# shellcheck source=tests/win32/wine-session.sh
source "$(dirname "$0")/wine-session.sh"
cp "$tests" "$WINEPREFIX/drive_c/front-end-test.exe"
cd "$WINEPREFIX/drive_c"
"$wine" 'C:\front-end-test.exe'
