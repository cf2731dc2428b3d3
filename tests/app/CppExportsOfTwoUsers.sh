#!/usr/bin/env bash
# The editor end to end on a real X server, run by two users of one machine
# who share one temporary folder: each exports the same song with
# File > Export > C++, and each export must land in that user's own folder
# under the song's name, without touching the other's.
# Usage: CppExportsOfTwoUsers.sh SONRIX3 SONG
# Exit 77 (skipped) without xvfb-run, xdotool or setpriv, or when not run as
# root (the second user is "nobody", which only root can become).
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
source "$here/X11Helpers.sh"
require_tools xvfb-run xdotool setpriv
[ "$(id -u)" -eq 0 ] || { echo "skipped: needs root to run the editor as a second user"; exit 77; }
app=$1 song=$2
second=$(id -u nobody)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
mkdir -m 1777 "$work/tmp"
install -m 644 -D "$song" "$work/song/tune.sonrix"
for user in 0 "$second"; do
    install -d -m 700 -o "$user" "$work/home-$user" "$work/home-$user/run"
done

# Inside the X server (without access control, so that the second user's
# editor may connect): one editor per user, File > Export > C++ in each.
xvfb-run -a -s "-noreset -ac -screen 0 1280x1024x24" bash -c '
    source "$1/X11Helpers.sh"
    app=$2 work=$3
    export_as() {
        local user=$1 home=$work/home-$1
        setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups \
            env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run" \
            TMPDIR="$work/tmp" SONRIX_AUDIO_DRIVER=dummy QT_QPA_PLATFORM=xcb "$app" "$work/song/tune.sonrix" 2>/dev/null &
        window=$(find_window tune.sonrix) || { echo "no editor window for user $user"; exit 1; }
        keys_until "$window" "[ -s $work/tmp/sonrix3-$user/tune.cpp ]" alt+f e c || echo "user $user: no export"
        kill $!
        wait $! 2>/dev/null || true
    }
    export_as 0
    cp -p "$work/tmp/sonrix3-0/tune.cpp" "$work/first.cpp"
    export_as "$4"
' session "$here" "$app" "$work" "$second"

failed=0
for user in 0 "$second"; do
    file=$work/tmp/sonrix3-$user/tune.cpp
    [ "$(stat -c %u "$file" 2>/dev/null)" = "$user" ] || { echo "user $user: $file missing or someone else's"; failed=1; }
    [ "$(stat -c %a "$(dirname "$file")" 2>/dev/null)" = 700 ] || { echo "user $user: the folder is open to others"; failed=1; }
    grep -qs '#include "RixSongDataTypes.h"' "$file" || { echo "user $user: $file is not the song data"; failed=1; }
done
cmp -s "$work/first.cpp" "$work/tmp/sonrix3-0/tune.cpp" || { echo "the second export touched the first user's file"; failed=1; }
[ "$failed" -eq 0 ] && echo "each user's export is in that user's own folder"
exit "$failed"
