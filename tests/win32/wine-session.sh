# shellcheck shell=bash disable=SC2154 # $wine is the sourcing script's
# Sourced by the scripts that work the Windows program under Wine: a fresh Wine prefix in a
# temporary folder ($work), a virtual X display of its own, both gone when the script ends. Exit
# 77 (skipped) where Xvfb is missing. Reads $wine, and $overrides: DLL overrides of the script's
# own, added to the defaults.
command -v Xvfb >/dev/null || { echo "Xvfb is not installed: skipped"; exit 77; }
work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=${overrides:+;$overrides}"
export LANG=C.UTF-8 LC_ALL=C.UTF-8
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
