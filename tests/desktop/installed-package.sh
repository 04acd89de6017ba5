#!/usr/bin/env bash
# The installed Debian package: its dependencies come from the libraries the program links, its
# menu entry, icons and description are where the desktop looks and pass the desktop's
# validators, and the installed program starts and ends cleanly.
set -euo pipefail
here=$(dirname "$0")
fail() { echo "$*" >&2; exit 1; }

dpkg-query -W -f='${Status}' brenvik 2>/dev/null | grep -q 'install ok installed' || fail "brenvik is not installed"
depends=$(dpkg-query -W -f='${Depends}' brenvik)
for library in libqt6widgets6 libqt6svg6 libc6 qt6-translations-l10n; do
    [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

id=example.tavora.Brenvik
desktop-file-validate "/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "/usr/share/metainfo/$id.metainfo.xml"
[ -f "/usr/share/icons/hicolor/scalable/apps/$id.svg" ] || fail "no scalable icon"
for side in 16 22 24 32 48 64 128 256; do
    png=/usr/share/icons/hicolor/${side}x${side}/apps/$id.png
    [ -f "$png" ] || fail "no $png"
    # Width and height are the big-endian words at bytes 16 and 20 of a PNG.
    size=$(od -An -tu1 -j16 -N8 "$png" | awk '{print ($3*256+$4) "x" ($7*256+$8)}')
    [ "$size" = "${side}x${side}" ] || fail "$png is $size"
done

"$here/starts-and-closes.sh" /usr/bin/brenvik
