# Sourced by the editor's end-to-end scripts: skips the test (exit 77)
# without xvfb-run or xdotool, and gives the editor a home of its own in
# $work (removed at exit), the dummy audio driver and the X11 platform.
for tool in xvfb-run xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is missing (apt-get install xvfb xdotool)"
        exit 77
    fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
export SONRIX_AUDIO_DRIVER=dummy QT_QPA_PLATFORM=xcb
mkdir -p -m 700 "$work/run"
