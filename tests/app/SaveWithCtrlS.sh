#!/usr/bin/env bash
# The editor end to end on a real X server: started on a version 2 song given
# on the command line, Ctrl+S sent as an X key event, then the file must be
# a version 3 file holding the same song (sonrix3-cli dump before and after).
# Usage: SaveWithCtrlS.sh SONRIX3 SONRIX3_CLI VERSION2_SONG
# Exit 77 (skipped) without xvfb-run or xdotool.
set -euo pipefail
app=$1 cli=$2 song=$3
# shellcheck source=E2eSetup.sh
. "$(dirname "$0")/E2eSetup.sh"
cp "$song" "$work/song.sonrix"
"$cli" dump "$work/song.sonrix" >"$work/before.json"

# Inside the X server: wait for the window, focus it, press Ctrl+S, wait for
# the version 3 header ("3.0" in UTF-16LE after "sonrix v").
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    "$1" "$2" &
    editor=$!
    window=
    for _ in $(seq 200); do
        window=$(xdotool search --name "song.sonrix" 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "no editor window appeared"; kill "$editor"; exit 1; }
    xdotool windowfocus --sync "$window"
    sleep 0.5
    xdotool key --clearmodifiers ctrl+s
    saved=1
    for _ in $(seq 100); do
        if head -c 26 "$2" | od -An -c | tr -d " \n" | grep -q "3\\\\0\.\\\\00\\\\0"; then saved=0; break; fi
        sleep 0.1
    done
    kill "$editor"
    wait "$editor" || true
    exit $saved
' editor "$app" "$work/song.sonrix" || { echo "Ctrl+S did not save a version 3 file"; exit 1; }

"$cli" dump "$work/song.sonrix" >"$work/after.json"
if ! diff -u "$work/before.json" "$work/after.json"; then
    echo "the saved song differs from the opened one"
    exit 1
fi
echo "saved as version 3 with the same song"
