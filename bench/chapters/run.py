#!/usr/bin/env python3
"""Importing a recording of three chapters joined, against importing the same chapters as they are.

Both runs read the chapters from the page cache (warmed first), write, flush and read back from the
disk with the page cache dropped (the default verification). Runs alternate, joined first in one pair
and second in the next; the figure is the median of the pairs' ratios. Bar: 1.1x. Also prints the
peak memory of the joined import (bar: under 64 MiB).

Usage: bench/chapters/run.py [--pairs N] [--seconds S] [path to velarix-cli]
       (default: 5 pairs, a 90 s recording, build/release/cli/velarix-cli)
Data goes to bench/data/chapters (git-ignored).
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DATA = os.path.join(ROOT, "bench", "data", "chapters")
args = sys.argv[1:]
PAIRS = 5
SECONDS = 90
while args and args[0].startswith("--"):
    if args[0] == "--pairs":
        PAIRS = int(args[1])
    elif args[0] == "--seconds":
        SECONDS = int(args[1])
    args = args[2:]
CLI = args[0] if args else os.path.join(ROOT, "build", "release", "cli", "velarix-cli")
CARD = os.path.join(DATA, "volumes", "CARD")
FOLDER = os.path.join(CARD, "DCIM", "100GOPRO")
CHAPTERS = [os.path.join(FOLDER, "GX0%d0042.MP4" % n) for n in (1, 2, 3)]
ENV = dict(os.environ, XDG_CONFIG_HOME=os.path.join(DATA, "home", "config"),
           XDG_DATA_HOME=os.path.join(DATA, "home", "data"),
           VELARIX_VOLUMES_DIR=os.path.join(DATA, "volumes"))


def ffmpeg(*arguments):
    subprocess.run(["ffmpeg", "-v", "error", "-y", *arguments], check=True)


def make_chapters():
    if all(os.path.exists(path) for path in CHAPTERS):
        return
    os.makedirs(FOLDER, exist_ok=True)
    recording = os.path.join(DATA, "recording.mp4")
    # Noise keeps the bit rate near a camera's (tens of Mbit/s); a key frame every second.
    ffmpeg("-f", "lavfi", "-i", "testsrc2=s=1280x720:r=30:d=%d,noise=alls=40:allf=t" % SECONDS,
           "-f", "lavfi", "-i", "sine=f=440:d=%d" % SECONDS,
           "-c:v", "libx264", "-preset", "ultrafast", "-crf", "12", "-g", "30", "-pix_fmt", "yuv420p",
           "-c:a", "aac", "-timecode", "10:00:00:00", recording)
    third = SECONDS // 3
    for n, path in enumerate(CHAPTERS):
        timecode = "10:00:%02d:00" % (n * third)
        length = ["-t", str(third)] if n < 2 else []
        ffmpeg("-ss", str(n * third), "-i", recording, "-map", "0:v", "-map", "0:a", "-c", "copy",
               *length, "-timecode", timecode, path)
    os.remove(recording)


def warm():
    for path in CHAPTERS:
        with open(path, "rb") as f:
            while f.read(16 * 1024 * 1024):
                pass


def imported(join):
    destination = os.path.join(DATA, "dest")
    shutil.rmtree(destination, ignore_errors=True)
    shutil.rmtree(os.path.join(DATA, "home"), ignore_errors=True)
    os.makedirs(destination)
    warm()
    command = [CLI, "import", "--pattern", "{filename}", "--dest", destination]
    if not join:
        command.append("--no-join")
    start = time.perf_counter()
    subprocess.run(["/usr/bin/time", "-f", "%M", "-o", os.path.join(DATA, "rss"), *command], check=True,
                   env=ENV, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    elapsed = time.perf_counter() - start
    with open(os.path.join(DATA, "rss")) as f:
        rss_kib = int(f.read().split()[-1])
    files = sorted(os.listdir(destination))
    expected = ["GX010042.MP4"] if join else [os.path.basename(p) for p in CHAPTERS]
    if files != expected:
        sys.exit("unexpected import result: %s" % files)
    return elapsed, rss_kib


def main():
    if not os.path.exists(CLI):
        sys.exit("build the release preset first: %s is missing" % CLI)
    make_chapters()
    size = sum(os.path.getsize(path) for path in CHAPTERS)
    print("3 chapters, %.0f MB in all" % (size / 1e6))
    ratios = []
    peak = 0
    for pair in range(PAIRS):
        order = (True, False) if pair % 2 == 0 else (False, True)
        times = {}
        for join in order:
            times[join], rss = imported(join)
            if join:
                peak = max(peak, rss)
        ratios.append(times[True] / times[False])
        print("pair %d: joined %.2f s, chapters as they are %.2f s, ratio %.3f"
              % (pair + 1, times[True], times[False], ratios[-1]))
    median = statistics.median(ratios)
    print("median ratio %.3f (bar 1.1): %s" % (median, "ok" if median <= 1.1 else "OVER"))
    print("peak memory of the joined import %.1f MiB (bar 64): %s"
          % (peak / 1024, "ok" if peak < 64 * 1024 else "OVER"))


main()
