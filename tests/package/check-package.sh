#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks it without
# installing it: the files it carries, the dependencies dpkg-shlibdeps found,
# the programs running from the unpacked tree, the desktop entry, the
# metainfo, the manual pages, the shell completion and lintian's verdict.
# Usage: check-package.sh BUILD_DIR SOURCE_DIR
# Exit 77 (skipped) when a checking tool is missing.
set -euo pipefail
build=$1 source=$2
completion_framework=/usr/share/bash-completion/bash_completion
for tool in cpack dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli man $completion_framework; do
    command -v "$tool" >/dev/null || [ -f "$tool" ] || { echo "skipped: $tool is missing (./sonrix test installs it)"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(echo "$work"/out/sonrix3_*.deb)
[ -f "$deb" ] || { cat "$work/cpack.log"; echo "FAIL: no sonrix3_*.deb"; exit 1; }
echo "package: $(basename "$deb")"
root=$work/root
dpkg-deb -x "$deb" "$root"

# What a person installs, by path (shell patterns).
expected=(
    usr/bin/sonrix3 usr/bin/sonrix3-cli 'usr/lib/*/sonrix3/libnexilon.so.0'
    usr/share/applications/sonrix3.desktop usr/share/icons/hicolor/scalable/apps/sonrix3.svg
    usr/share/mime/packages/sonrix3.xml 'usr/share/metainfo/*.metainfo.xml'
    usr/share/man/man1/sonrix3.1.gz usr/share/man/man1/sonrix3-cli.1.gz
    usr/share/bash-completion/completions/sonrix3-cli
    usr/share/doc/sonrix3/copyright usr/share/doc/sonrix3/changelog.gz
    usr/share/sonrix3/examples/demo.sonrix
)
for preset in "$source"/presets/*.sonrixi; do
    expected+=("usr/share/sonrix3/presets/$(basename "$preset")")
done
for path in "${expected[@]}"; do
    compgen -G "$root/$path" >/dev/null || fail "the package lacks $path"
done
[ "$(ls "$root")" = usr ] || fail "files outside /usr: $(ls "$root")"

# Dependencies found from the binaries, and programs that run from where
# the package puts them (the framework library found through their RUNPATH).
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libsdl2-2.0-0 liblzma5 libc6; do
    grep -qE "(^|, )$library( |,|$)" <<<"$depends" || fail "Depends lacks $library: $depends"
done
version=$(dpkg-deb -f "$deb" Version)
for program in sonrix3 sonrix3-cli; do
    answer=$(env -u LD_LIBRARY_PATH "$root/usr/bin/$program" --version 2>&1) || true
    [ "$answer" = "$program $version" ] || fail "$program --version from the package says '$answer', not '$program $version'"
done

desktop-file-validate "$root/usr/share/applications/sonrix3.desktop" || fail "desktop entry"
metainfo=$(echo "$root"/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 || { cat "$work/appstream.log"; fail "metainfo"; }
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
shown=$(grep -o '<image>[^<]*</image>' "$metainfo" | sed 's|</image>||; s|.*/||' | sort)
[ "$shown" = "$(cd "$source/docs" && ls ./*.png | sed 's|^\./||' | sort)" ] ||
    fail "the metainfo's screenshots are not those of docs/: $(echo "$shown" | tr '\n' ' ')"

for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

# Every command and option a program's --help names is in its manual page,
# and those of sonrix3-cli in its completion.
completion=$root/usr/share/bash-completion/completions/sonrix3-cli
for program in sonrix3 sonrix3-cli; do
    help=$("$root/usr/bin/$program" --help)
    manual=$(LC_ALL=C MANWIDTH=1000 man -l -P cat "$root/usr/share/man/man1/$program.1.gz" 2>/dev/null | sed 's/.\x08//g')
    words=$(
        sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p' <<<"$help"
        grep -oE '(^|[][ ,|])--?[A-Za-z][A-Za-z-]*' <<<"$help" | sed 's/^[][ ,|]*//'
    )
    [[ $words == *--version* ]] || fail "$program --help names no --version"
    for word in $(sort -u <<<"$words"); do
        pattern="(^|[^A-Za-z0-9-])$word([^A-Za-z0-9-]|$)"
        grep -qE -e "$pattern" <<<"$manual" || fail "$program.1 does not mention $word"
        [ "$program" = sonrix3 ] || grep -qE -e "$pattern" "$completion" || fail "the completion lacks $word"
    done
done

# The completion at work: what Tab offers for the last word of each line.
mkdir "$work/songs"
touch "$work/songs/"{demo.sonrix,kit.sonrixi,out.wav,notes.txt}
while IFS='|' read -r line offered; do
    read -ra words <<<"$line"
    [[ $line == *' ' ]] && words+=("")
    got=$(cd "$work/songs" && bash -c '
        source "$1"; source "$2"; shift 2
        COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
        _sonrix3_cli sonrix3-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        printf "%s\n" "${COMPREPLY[@]}" | sort | xargs' _ "$completion_framework" "$completion" "${words[@]}")
    [ "$got" = "$offered" ] || fail "completion of '$line': '$got', expected '$offered'"
done <<'TABLE'
sonrix3-cli |convert dump export-cpp play render sync verify-export
sonrix3-cli sync --j|--json
sonrix3-cli dump |demo.sonrix kit.sonrixi
sonrix3-cli convert kit.sonrixi |kit.sonrixi
sonrix3-cli render demo.sonrix |out.wav
sonrix3-cli play --l|--loop-order
sonrix3-cli play demo.sonrix |
TABLE

lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || fail "lintian found errors"
grep -v 'root privileges' "$work/lintian.log" || true

[ "$failures" -eq 0 ] || exit 1
echo "package checked"
