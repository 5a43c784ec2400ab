#!/usr/bin/env python3
"""How long after the Space key its sound reaches a sound server.

Starts a private PulseAudio with a null sink, records the sink's monitor with parec, runs
the program (bench/program_probe --play 1, a game without the welcome dialog) under a
private Xvfb with openbox, presses Space N times and finds each sound's first sample in
the recording. The recorder's own delay is measured the same way against a tone this
script plays through SDL with the smallest buffer, before and after the presses, and
subtracted. Reports the median and spread of key-to-first-sample, and how long each sound
lasted against the sound itself (a sound cut at its start comes out shorter).

Needs Xvfb, openbox, pulseaudio, parec (Debian: xvfb, openbox, pulseaudio,
pulseaudio-utils), libxdo (xdotool) and SDL 2. Not part of the build or the tests.
    tools/perf/sound-latency.py [BUILD_DIR] [--presses N] [--program PATH]
"""
import argparse
import ctypes
import ctypes.util
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import wave
from array import array
from pathlib import Path

RATE = 44100  # recording rate, frames per second
THRESHOLD = 0.02  # a sample louder than this share of full scale is sound
TONE_FRAMES = 64  # the calibration tone's device buffer: the smallest SDL will take
ROOT = Path(__file__).resolve().parents[2]


def missing_tools():
    missing = []
    for tool, package in (("Xvfb", "xvfb"), ("openbox", "openbox"),
                          ("pulseaudio", "pulseaudio"), ("parec", "pulseaudio-utils"),
                          ("pactl", "pulseaudio-utils")):
        if shutil.which(tool) is None:
            missing.append(f"{tool} (Debian package {package})")
    for lib, package in (("xdo", "libxdo3"), ("SDL2-2.0", "libsdl2-2.0-0")):
        if ctypes.util.find_library(lib) is None:
            missing.append(f"lib{lib} (Debian package {package})")
    return missing


def wait_for(condition, seconds, what):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if condition():
            return
        time.sleep(0.02)
    sys.exit(f"error: {what} did not come up")


class SdlTone:
    """A short tone through SDL on the smallest buffer it takes, started on request."""

    class Spec(ctypes.Structure):
        _fields_ = [("freq", ctypes.c_int), ("format", ctypes.c_uint16),
                    ("channels", ctypes.c_uint8), ("silence", ctypes.c_uint8),
                    ("samples", ctypes.c_uint16), ("padding", ctypes.c_uint16),
                    ("size", ctypes.c_uint32), ("callback", ctypes.c_void_p),
                    ("userdata", ctypes.c_void_p)]

    def __init__(self):
        self.sdl = ctypes.CDLL(ctypes.util.find_library("SDL2-2.0"))
        if self.sdl.SDL_InitSubSystem(0x10) != 0:  # SDL_INIT_AUDIO
            sys.exit("error: SDL audio does not start")
        want = self.Spec(freq=RATE, format=0x8010, channels=1, samples=TONE_FRAMES)  # S16LSB
        have = self.Spec()
        self.device = self.sdl.SDL_OpenAudioDevice(None, 0, ctypes.byref(want),
                                                   ctypes.byref(have), 0)
        if self.device == 0:
            sys.exit("error: SDL opens no audio device on the private server")
        self.sdl.SDL_PauseAudioDevice(self.device, 0)  # silence until a tone is queued
        # 50 ms of a full-scale square wave at about 1 kHz.
        tone = array("h", [(12000 if (k // 22) % 2 == 0 else -12000) for k in range(RATE // 20)])
        self.tone = tone.tobytes()

    def play(self):
        """Queues the tone; returns the time it was handed over."""
        started = time.monotonic_ns()
        self.sdl.SDL_QueueAudio(self.device, self.tone, len(self.tone))
        return started

    def close(self):
        self.sdl.SDL_CloseAudioDevice(self.device)
        self.sdl.SDL_QuitSubSystem(0x10)


def sound_start_and_length(path):
    """Where the sound first passes the threshold, and how long it stays above it (s)."""
    with wave.open(str(path)) as w:
        assert w.getsampwidth() == 2 and w.getnchannels() == 1
        rate = w.getframerate()
        samples = array("h", w.readframes(w.getnframes()))
    loud = [k for k, v in enumerate(samples) if abs(v) > THRESHOLD * 32768]
    return loud[0] / rate, (loud[-1] - loud[0]) / rate


def onset(recording, at, limit):
    """First loud frame in [at, at + limit), or None."""
    level = THRESHOLD * 32768
    for k in range(max(at, 0), min(at + limit, len(recording))):
        if abs(recording[k]) > level:
            return k
    return None


def loud_length(recording, start, limit):
    """From a loud frame to the last loud frame before 30 ms of silence, in seconds."""
    level = THRESHOLD * 32768
    last = start
    for k in range(start, min(start + limit, len(recording))):
        if abs(recording[k]) > level:
            last = k
        elif k - last > RATE * 0.03:
            break
    return (last - start) / RATE


def quiet(recording, start, end):
    level = THRESHOLD * 32768
    return all(abs(v) <= level for v in recording[max(start, 0):end])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--presses", type=int, default=30)
    parser.add_argument("--tones", type=int, default=10, help="calibration tones, each side")
    parser.add_argument("--program", help="program to measure (default BUILD/bench/program_probe)")
    args = parser.parse_args()

    missing = missing_tools()
    if missing:
        sys.exit("error: missing " + ", ".join(missing) +
                 "\n  install with: apt-get install xvfb openbox pulseaudio pulseaudio-utils "
                 "xdotool")
    program = Path(args.program or Path(args.build) / "bench" / "program_probe").resolve()
    if not os.access(program, os.X_OK):
        sys.exit(f"error: build first ({program})")

    work = Path(tempfile.mkdtemp(prefix="zonky-latency-"))
    runtime = work / "run"
    runtime.mkdir(mode=0o700)
    env = dict(os.environ, XDG_RUNTIME_DIR=str(runtime), HOME=str(work),
               PULSE_SERVER=f"unix:{runtime}/pulse/native", QT_QPA_PLATFORM="xcb")
    env.pop("SDL_AUDIODRIVER", None)
    for name in ("PULSE_LATENCY_MSEC", "PIPEWIRE_LATENCY"):
        env.pop(name, None)
    os.environ.update(env)
    children = []

    def start(command, **kwargs):
        child = subprocess.Popen(command, env=env, cwd=work, stdout=kwargs.pop("stdout",
                                 subprocess.DEVNULL), stderr=subprocess.DEVNULL, **kwargs)
        children.append(child)
        return child

    try:
        start(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
               "--use-pid-file=no", "--disallow-exit", "--log-target=stderr",
               "-L", f"module-null-sink sink_name=zonky rate={RATE}",
               "-L", "module-native-protocol-unix auth-anonymous=1"])
        wait_for(lambda: subprocess.run(["pactl", "info"], env=env, capture_output=True)
                 .returncode == 0, 10, "pulseaudio")
        subprocess.run(["pactl", "set-default-sink", "zonky"], env=env, check=True)

        read, write = os.pipe()
        start(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp"], pass_fds=(write,))
        os.close(write)
        display = b""
        while not display.endswith(b"\n"):
            chunk = os.read(read, 16)
            if not chunk:
                sys.exit("error: Xvfb did not start")
            display += chunk
        os.close(read)
        env["DISPLAY"] = ":" + display.decode().strip()
        os.environ["DISPLAY"] = env["DISPLAY"]
        start(["openbox"])
        time.sleep(0.5)

        recording_file = work / "monitor.raw"
        with open(recording_file, "wb") as out:
            start(["parec", "-d", "zonky.monitor", "--raw", "--format=s16le", f"--rate={RATE}",
                   "--channels=1", "--latency-msec=2"], stdout=out)
        wait_for(lambda: recording_file.stat().st_size > RATE, 10, "parec")
        # The recording's frame k was taken at base + k / RATE + the recorder's delay; the
        # tones measure that delay together with base.
        size_at = recording_file.stat().st_size
        base = time.monotonic_ns() - size_at // 2 * 1_000_000_000 // RATE

        def calibrate():
            tone = SdlTone()
            time.sleep(0.3)
            times = []
            for _ in range(args.tones):
                times.append(tone.play())
                time.sleep(0.25)
            tone.close()
            return times

        tones = calibrate()
        game = start([str(program), "--play", "1"])
        xdo = ctypes.CDLL(ctypes.util.find_library("xdo"))
        xdo.xdo_new.restype = ctypes.c_void_p
        xdo.xdo_send_keysequence_window.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                                    ctypes.c_char_p, ctypes.c_uint]
        handle = xdo.xdo_new(env["DISPLAY"].encode())
        time.sleep(2.5)  # the window is up, the game runs and its first piece has entered
        keys = []
        for _ in range(args.presses):
            before = time.monotonic_ns()
            xdo.xdo_send_keysequence_window(handle, 0, b"space", 0)
            keys.append((before + time.monotonic_ns()) // 2)
            time.sleep(0.6)
        game.terminate()
        game.wait()
        time.sleep(0.3)
        tones += calibrate()
        time.sleep(0.3)
    finally:
        for child in reversed(children):
            child.terminate()
        for child in children:
            child.wait()

    recording = array("h", recording_file.read_bytes()[: recording_file.stat().st_size // 2 * 2])
    shutil.rmtree(work, ignore_errors=True)

    def frame(t_ns):
        return (t_ns - base) * RATE // 1_000_000_000

    window = RATE // 2  # search half a second after each event
    heard = []  # (time handed over, frames until its first loud frame)
    for t in tones:
        k = onset(recording, frame(t), window)
        if k is not None:
            heard.append((t, k - frame(t)))
    if len(heard) < len(tones) // 2:
        sys.exit(f"error: only {len(heard)} of {len(tones)} calibration tones were recorded")
    # The recorder's delay, as a straight line over time: it takes in a drift between the
    # recording's clock and the system's.
    times = [(t - base) / 1e9 for t, _ in heard]
    delays = [k / RATE for _, k in heard]
    slope, intercept = statistics.linear_regression(times, delays)
    recorder = lambda t: intercept + slope * (t - base) / 1e9
    residuals = [d - recorder(t) for (t, _), d in zip(heard, delays)]

    sound_start, sound_length = sound_start_and_length(ROOT / "resources/sounds/SPACE.wav")
    latencies, lengths, skipped = [], [], 0
    for t in keys:
        at = frame(t)
        k = onset(recording, at, window)
        # A press heard over a landing's sound cannot be told from it.
        if k is None or not quiet(recording, at - RATE // 10, at):
            skipped += 1
            continue
        latencies.append((k - at) / RATE - recorder(t) - sound_start)
        lengths.append(loud_length(recording, k, RATE))

    ms = lambda s: f"{1000 * s:.1f} ms"
    print(f"recorder delay (tone through SDL, {TONE_FRAMES}-frame buffer): "
          f"{ms(recorder(tones[0]))} at the start, {ms(recorder(tones[-1]))} at the end; "
          f"tones off that line by {ms(min(residuals))}..{ms(max(residuals))}")
    if not latencies:
        sys.exit("error: no press was heard")
    quartiles = statistics.quantiles(latencies, n=4) if len(latencies) > 1 else latencies * 3
    print(f"Space key to first sample: median {ms(statistics.median(latencies))}, quartiles "
          f"{ms(quartiles[0])}..{ms(quartiles[2])}, range {ms(min(latencies))}.."
          f"{ms(max(latencies))} ({len(latencies)} presses, {skipped} heard over another "
          f"sound or not at all)")
    print(f"sound length heard: median {ms(statistics.median(lengths))}, shortest "
          f"{ms(min(lengths))} (the sound itself: {ms(sound_length)})")


if __name__ == "__main__":
    main()
