#!/usr/bin/env bash
# Starts the program offscreen as a returning user whose last folder is gone, asks it to end as
# the system does at logout (SIGTERM), and expects a clean end: exit status 0, and the folder it
# fell back to saved, as a confirmed close saves it. Usage: starts-and-closes.sh PROGRAM
set -euo pipefail
program=$1
home=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill -KILL "$pid" 2>/dev/null || true; rm -rf "$home"' EXIT
mkdir -p "$home/.config/brenvik"
ini=$home/.config/brenvik/Brenvik.ini
printf '[Primoavvio]\neseguito=1\n[opzioni]\nabout=0\n[path]\ninitialdir=c:\\non\\esiste\n' >"$ini"

env -u XDG_CONFIG_HOME HOME="$home" QT_QPA_PLATFORM=offscreen "$program" &
pid=$!
# Ready once it catches SIGTERM (bit 15 of the caught-signals mask) and has had a moment to load.
for _ in $(seq 100); do
    mask=$(awk '/^SigCgt:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
    (( (16#$mask >> 14) & 1 )) && break
    sleep 0.1
done
sleep 1
kill -TERM "$pid"
status=0
for _ in $(seq 200); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    echo "the program did not end within 20 s of SIGTERM" >&2
    exit 1
fi
wait "$pid" || status=$?
pid=
if [ "$status" -ne 0 ]; then
    echo "the program ended with status $status" >&2
    exit 1
fi
if ! grep -qx 'initialdir=c:\\' "$ini"; then
    echo "the folder on show was not saved; settings now:" >&2
    cat "$ini" >&2
    exit 1
fi
echo "started, ended cleanly on SIGTERM, folder saved"
