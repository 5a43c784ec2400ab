#!/usr/bin/env python3
"""Starts a program and waits, without polling, for its first top-level window to be mapped.

Prints "MILLISECONDS PID" and leaves the program running. Listens to the X server named by
DISPLAY (one without a window manager: top-level windows are the root's children) from
before the start, so the figure holds no polling delay and costs the program no CPU.
    tools/perf/first-window.py PROGRAM [ARG...]
"""
import ctypes
import ctypes.util
import os
import subprocess
import sys
import time

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
XA_CARDINAL = 6


def main():
    x = ctypes.CDLL(ctypes.util.find_library("X11"))
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
    x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
    x.XGetWindowProperty.argtypes = [
        ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
        ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
        ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
        ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
    x.XFree.argtypes = [ctypes.c_void_p]

    display = x.XOpenDisplay(None)
    if not display:
        sys.exit("error: no X display")
    root = x.XDefaultRootWindow(display)
    wm_pid = x.XInternAtom(display, b"_NET_WM_PID", 0)
    x.XSelectInput(display, root, SUBSTRUCTURE_NOTIFY_MASK)
    x.XSync(display, 0)

    def window_pid(window):
        kind, fmt = ctypes.c_ulong(), ctypes.c_int()
        count, after, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        if x.XGetWindowProperty(display, window, wm_pid, 0, 1, 0, XA_CARDINAL,
                                ctypes.byref(kind), ctypes.byref(fmt), ctypes.byref(count),
                                ctypes.byref(after), ctypes.byref(data)) != 0 or not data:
            return None
        pid = ctypes.cast(data, ctypes.POINTER(ctypes.c_ulong))[0] if count.value else None
        x.XFree(data)
        return pid

    event = (ctypes.c_ubyte * 192)()  # XEvent
    start = time.monotonic_ns()
    child = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                             start_new_session=True)
    while True:
        x.XNextEvent(display, event)
        if ctypes.c_int.from_buffer(event, 0).value != MAP_NOTIFY:
            continue
        window = ctypes.c_ulong.from_buffer(event, 40).value  # XMapEvent.window
        if window_pid(window) == child.pid:
            break
    ms = (time.monotonic_ns() - start) // 1_000_000
    print(ms, child.pid, flush=True)
    os._exit(0)  # the program keeps running


if __name__ == "__main__":
    main()
