"""The measuring side of bench/key-to-sound (run inside the X server).

SDL's disk driver makes one buffer of 512 frames, hands it to stdio and
waits 11 ms, the time the buffer would take a sound card to play. stdio
passes its 4 KiB on when the next buffer arrives, so the pipe receives
frames 0 .. 2048k - 1 the moment frame 2048k starts to be heard; between two
such moments the frames are heard at an even pace. That maps the moment of
a key press to the frame heard then, and the delay is the distance from
there to the note's first sample in the sound.
"""
import bisect
import ctypes
import os
import random
import statistics
import subprocess
import sys
import tempfile
import threading
import time

RATE = 44100
PREVIEW_SECONDS = 2.3  # the demo's preview lasts 16 rows at 125 BPM


def main():
    presses, program = int(sys.argv[1]), sys.argv[2]
    folder = tempfile.mkdtemp()
    pipe = os.path.join(folder, "sound.raw")
    os.mkfifo(pipe)
    env = dict(os.environ, SONRIX_AUDIO_DRIVER="disk", SDL_DISKAUDIOFILE=pipe, XDG_DATA_HOME=folder,
               XDG_CONFIG_HOME=folder)
    editor = subprocess.Popen([program, "examples/demo.sonrix"], env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    samples = bytearray()
    arrivals = []  # (time, the frame heard then)

    def read():
        with open(pipe, "rb", buffering=0) as sound:
            while True:
                chunk = sound.read(65536)
                if not chunk:
                    return
                now = time.monotonic()
                samples.extend(chunk)
                arrivals.append((now, len(samples) // 2))

    reader = threading.Thread(target=read, daemon=True)
    reader.start()
    try:
        window = subprocess.check_output(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(editor.pid),
                                          "--name", "sonrix3"]).split()[0].decode()
        time.sleep(1.5)
        # Channel 1, row 1 of the pattern editor.
        subprocess.check_call(["xdotool", "mousemove", "--window", window, "208", "401", "click", "1"])
        time.sleep(0.5)
        x11 = ctypes.CDLL("libX11.so.6")
        xtest = ctypes.CDLL("libXtst.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        display = ctypes.c_void_p(x11.XOpenDisplay(None))
        x11.XStringToKeysym.restype = ctypes.c_ulong
        keycode = x11.XKeysymToKeycode(display, ctypes.c_ulong(x11.XStringToKeysym(b"z")))
        pressed = []
        for _ in range(presses):
            time.sleep(PREVIEW_SECONDS + random.uniform(0, 0.05))
            # Taken before the event goes out: a thread switch after it
            # could make the press look later than it was.
            pressed.append(time.monotonic())
            xtest.XTestFakeKeyEvent(display, keycode, True, 0)
            x11.XFlush(display)
            time.sleep(0.05)
            xtest.XTestFakeKeyEvent(display, keycode, False, 0)
            x11.XFlush(display)
        time.sleep(PREVIEW_SECONDS)
    finally:
        subprocess.call(["xdotool", "windowclose", window]) if "window" in locals() else None
        time.sleep(1)
        editor.kill()
        editor.wait()
    frames = memoryview(bytes(samples)).cast("h")
    times = [a[0] for a in arrivals]

    def frame_at(moment):
        i = bisect.bisect_right(times, moment)
        if i == 0 or i == len(arrivals):
            return None
        (t0, f0), (t1, f1) = arrivals[i - 1], arrivals[i]
        return f0 + (moment - t0) / (t1 - t0) * (f1 - f0)

    delays = []
    for moment in pressed:
        start = frame_at(moment)
        if start is None:
            continue
        onset = next((f for f in range(int(start), len(frames)) if frames[f] != 0), None)
        if onset is None:
            continue
        delays.append((onset - start) / RATE * 1000)
    for n, delay in enumerate(delays, 1):
        print(f"press {n:2d}: {delay:5.1f} ms")
    if delays:
        print(f"{len(delays)} presses: median {statistics.median(delays):.1f} ms, worst {max(delays):.1f} ms")
    else:
        print("no note was found in the sound")


if __name__ == "__main__":
    main()
