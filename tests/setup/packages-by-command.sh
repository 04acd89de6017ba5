#!/usr/bin/env bash
# Which Debian packages each command asks for on a machine that has none of them, and that none
# asks for anything (or says anything about it) on a machine that has them all. apt-get and dpkg
# are replaced by recorders on PATH; BRENVIK_SETUP_ONLY=1 ends each command right after its set-up,
# and a cmake that fails proves that nothing was built. Usage: packages-by-command.sh SOURCE_DIR
set -euo pipefail
src=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
cat >"$work/bin/apt-get" <<'REC'
#!/bin/sh
echo "$*" >>"$BRENVIK_TEST_LOG"
REC
cat >"$work/bin/cmake" <<'REC'
#!/bin/sh
echo "cmake $*" >>"$BRENVIK_TEST_LOG"
exit 1
REC
# Not root: the set-up goes through sudo, which runs the recorder.
cat >"$work/bin/sudo" <<'REC'
#!/bin/sh
exec "$@"
REC
chmod +x "$work/bin/"*

failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# run_setup INSTALLED COMMAND...: the command's set-up with a dpkg that reports every package as
# INSTALLED (yes) or missing (no); leaves the recorded calls in $work/log, the output in $work/out.
run_setup() {
    local status=1
    [ "$1" = yes ] && status=0
    local command=("$src/$2" "${@:3}")
    printf '#!/bin/sh\nexit %s\n' "$status" >"$work/bin/dpkg"
    chmod +x "$work/bin/dpkg"
    : >"$work/log"
    if ! (cd "$work" && PATH="$work/bin:$PATH" BRENVIK_TEST_LOG="$work/log" BRENVIK_SETUP_ONLY=1 \
            "${command[@]}" >"$work/out" 2>&1 </dev/null); then
        fail "${command[*]} ended in failure: $(cat "$work/out")"
    fi
}

# The packages that the one `apt-get install` asked for.
asked() {
    grep '^install ' "$work/log" | tr ' ' '\n' | grep -v '^-\|^install$' | sort -u
}

# expect COMMAND -- REQUIRED... -- FORBIDDEN...
expect() {
    local command=() required=() forbidden=()
    while [ "$1" != -- ]; do command+=("$1"); shift; done
    shift
    while [ "$1" != -- ]; do required+=("$1"); shift; done
    shift
    forbidden=("$@")
    run_setup no "${command[@]}"
    local packages p
    packages=$(asked)
    echo "${command[*]} asks for: $(tr "\n" " " <<<"$packages")"
    [ "$(grep -c '^install ' "$work/log")" = 1 ] || fail "${command[*]} did not call apt-get install once: $(cat "$work/log")"
    grep -q '^update ' "$work/log" || fail "${command[*]} installs without apt-get update first"
    ! grep -q '^cmake' "$work/log" || fail "${command[*]} went on past its set-up"
    for p in "${required[@]}"; do
        grep -qx -- "$p" <<<"$packages" || fail "${command[*]} does not ask for $p"
    done
    for p in "${forbidden[@]}"; do
        ! grep -qx -- "$p" <<<"$packages" || fail "${command[*]} asks for $p"
    done
}

# Starting the program needs no test, fuzzing or Windows tool.
expect run -- build-essential cmake qt6-base-dev qt6-svg-dev qt6-translations-l10n fonts-dejavu-core \
    fonts-liberation -- wine wine64 locales libgtest-dev desktop-file-utils appstream clang clang-tidy \
    libclang-rt-14-dev g++-mingw-w64-x86-64-posix librsvg2-bin icoutils xvfb nsis msitools xfsprogs \
    btrfs-progs
# The tests add GoogleTest, Wine with the locale sources, and the desktop's validators; not the
# fuzzer's, the cross compiler or the installer's tools.
expect test -- build-essential cmake qt6-base-dev libgtest-dev wine64 wine locales desktop-file-utils \
    appstream -- clang libclang-rt-14-dev g++-mingw-w64-x86-64-posix nsis msitools
# The Windows build and its tests need no Qt, validator, fuzzer or installer.
expect test --windows -- cmake make g++-mingw-w64-x86-64-posix libgtest-dev wine64 locales librsvg2-bin \
    icoutils xvfb -- qt6-base-dev desktop-file-utils appstream clang libclang-rt-14-dev nsis msitools
expect scripts/package-windows -- cmake g++-mingw-w64-x86-64-posix librsvg2-bin icoutils wine64 xvfb nsis \
    -- qt6-base-dev desktop-file-utils appstream clang msitools
# CI runs everything, so it installs everything, before it starts.
expect .ci/run -- build-essential cmake qt6-base-dev libgtest-dev wine64 locales desktop-file-utils appstream \
    clang libclang-rt-14-dev clang-format clang-tidy g++-mingw-w64-x86-64-posix librsvg2-bin icoutils xvfb \
    nsis xfsprogs btrfs-progs --

# Where every package is in place: no apt-get, and not a word.
for command in run test "test --windows" scripts/package-windows .ci/run; do
    # shellcheck disable=SC2086 # the command's words
    run_setup yes $command
    [ ! -s "$work/log" ] || fail "$command with nothing missing called: $(cat "$work/log")"
    [ ! -s "$work/out" ] || fail "$command with nothing missing said: $(cat "$work/out")"
done

[ "$failures" -eq 0 ] || exit 1
echo "every command asks for its own packages, and none when they are in place"
