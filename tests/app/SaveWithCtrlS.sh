#!/usr/bin/env bash
# The editor end to end on a real X server: started on a version 2 song given
# on the command line, Ctrl+S sent as an X key event, then the file must be
# a version 3 file holding the same song (sonrix3-cli dump before and after).
# Usage: SaveWithCtrlS.sh SONRIX3 SONRIX3_CLI VERSION2_SONG
# Exit 77 (skipped) without xvfb-run or xdotool.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
source "$here/X11Helpers.sh"
require_tools xvfb-run xdotool
app=$1 cli=$2 song=$3

editor_folder
cp "$song" "$work/song.sonrix"
"$cli" dump "$work/song.sonrix" >"$work/before.json"

# Inside the X server: wait for the window, focus it, press Ctrl+S, wait for
# the version 3 header ("3.0" in UTF-16LE after "sonrix v").
xvfb-run -a -s "-noreset -screen 0 1280x1024x24" bash -c '
    source "$1/X11Helpers.sh"
    song=$3
    "$2" "$song" &
    trap "kill $! 2>/dev/null || true" EXIT
    window=$(find_window song.sonrix) || { echo "no editor window appeared"; exit 1; }
    saved() { head -c 26 "$song" | od -An -c | tr -d " \n" | grep -q "3\\\\0\.\\\\00\\\\0"; }
    keys_until "$window" saved ctrl+s
' editor "$here" "$app" "$work/song.sonrix" || { echo "Ctrl+S did not save a version 3 file"; exit 1; }

"$cli" dump "$work/song.sonrix" >"$work/after.json"
if ! diff -u "$work/before.json" "$work/after.json"; then
    echo "the saved song differs from the opened one"
    exit 1
fi
echo "saved as version 3 with the same song"
