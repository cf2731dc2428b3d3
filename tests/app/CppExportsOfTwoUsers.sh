#!/usr/bin/env bash
# The editor end to end on a real X server, run by two users of one machine
# who share one temporary folder: each exports the same song with
# File > Export > C++, and each export must land in that user's own folder
# under the song's name, without touching the other's.
# Usage: CppExportsOfTwoUsers.sh SONRIX3 SONG
# Exit 77 (skipped) without xvfb-run, xdotool or setpriv, or when not run as
# root (the second user is "nobody", which only root can become).
set -euo pipefail
app=$1 song=$2
for tool in xvfb-run xdotool setpriv; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is missing"
        exit 77
    fi
done
if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: needs root to run the editor as a second user"
    exit 77
fi
second=$(id -u nobody)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
mkdir -m 1777 "$work/tmp"
mkdir -m 755 "$work/song"
cp "$song" "$work/song/tune.sonrix"
chmod 644 "$work/song/tune.sonrix"
for user in 0 "$second"; do
    mkdir -p "$work/home-$user/run"
    chmod 700 "$work/home-$user/run"
    chown -R "$user" "$work/home-$user"
done

# Inside the X server (without access control, so that the second user's
# editor may connect): one editor per user, File > Export > C++ in each.
xvfb-run -a -s "-ac -screen 0 1280x1024x24" bash -c '
    app=$1 work=$2 second=$3
    export_as() {
        local user=$1 editor window
        setpriv --reuid="$user" --regid="$(id -g "$(id -nu "$user")")" --clear-groups \
            env HOME="$work/home-$user" XDG_CONFIG_HOME="$work/home-$user/config" \
            XDG_DATA_HOME="$work/home-$user/data" XDG_RUNTIME_DIR="$work/home-$user/run" \
            TMPDIR="$work/tmp" SONRIX_AUDIO_DRIVER=dummy QT_QPA_PLATFORM=xcb \
            "$app" "$work/song/tune.sonrix" 2>/dev/null &
        editor=$!
        window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$editor" --name tune.sonrix | head -n 1) ||
            { echo "no editor window for user $user"; kill "$editor"; return 1; }
        # Keys sent again when nothing came of them (a busy machine may
        # still be handing the window the focus).
        for _ in 1 2 3; do
            xdotool windowfocus --sync "$window"
            sleep 0.5
            xdotool key --clearmodifiers alt+f
            sleep 0.3
            xdotool key e
            sleep 0.3
            xdotool key c
            for _ in $(seq 30); do
                [ -s "$work/tmp/sonrix3-$user/tune.cpp" ] && break 2
                sleep 0.1
            done
            xdotool key Escape Escape Escape
        done
        kill "$editor"
        wait "$editor" 2>/dev/null || true
    }
    export_as 0
    cp -p "$work/tmp/sonrix3-0/tune.cpp" "$work/first.cpp" 2>/dev/null || true
    export_as "$second"
' session "$app" "$work" "$second"

failed=0
for user in 0 "$second"; do
    file=$work/tmp/sonrix3-$user/tune.cpp
    if [ ! -s "$file" ]; then
        echo "user $user: no export in $file"
        failed=1
        continue
    fi
    [ "$(stat -c %u "$file")" = "$user" ] || { echo "user $user: $file belongs to someone else"; failed=1; }
    [ "$(stat -c %a "$(dirname "$file")")" = 700 ] || { echo "user $user: the folder is open to others"; failed=1; }
    grep -q '#include "RixSongDataTypes.h"' "$file" || { echo "user $user: $file is not the song data"; failed=1; }
done
cmp -s "$work/first.cpp" "$work/tmp/sonrix3-0/tune.cpp" || { echo "the second export touched the first user's file"; failed=1; }
[ "$failed" -eq 0 ] && echo "each user's export is in that user's own folder"
exit "$failed"
