#!/usr/bin/env python3
"""Import benchmarks, measured side by side in one run.

1. Three 1 GiB videos: `velarix-cli import` (verification on) against cp + sync + xxhsum of the
   copies, and `--no-verify` against cp + sync. Bars: 1.3x and 1.1x.
2. Peak memory of importing one 1 GiB file. Bar: under 64 MiB.
3. Scan of a card with 1,000 short videos, durations included, against ffprobe per file. Bar: 10x.

Usage: bench/import/run.py [--memory-only] [path to velarix-cli]   (default: build/release/cli/velarix-cli)
Data goes to bench/data/ (git-ignored); about 7 GiB of free space are needed.
"""
import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DATA = os.path.join(ROOT, "bench", "data")
MEMORY_ONLY = "--memory-only" in sys.argv
ARGS = [a for a in sys.argv[1:] if a != "--memory-only"]
CLI = ARGS[0] if ARGS else os.path.join(ROOT, "build", "release", "cli", "velarix-cli")
GIB = 1024 ** 3


def env_for(volumes):
    env = dict(os.environ)
    env.update(XDG_CONFIG_HOME=os.path.join(DATA, "home", "config"),
               XDG_DATA_HOME=os.path.join(DATA, "home", "data"),
               VELARIX_VOLUMES_DIR=volumes)
    return env


def run(args, env=None):
    subprocess.run(args, check=True, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def timed(args, env=None):
    start = time.perf_counter()
    run(args, env)
    return time.perf_counter() - start


def fresh(path):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)


def make_file(path, size):
    if os.path.exists(path) and os.path.getsize(path) == size:
        return
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        for _ in range(size // (64 * 1024 * 1024)):
            out.write(os.urandom(64 * 1024 * 1024))


def warm(paths):
    for path in paths:
        with open(path, "rb") as f:
            while f.read(8 * 1024 * 1024):
                pass


def bench_copy():
    volumes = os.path.join(DATA, "big-volumes")
    dcim = os.path.join(volumes, "BENCH", "DCIM", "100GOPRO")
    sources = [os.path.join(dcim, f"BIG{i}.MP4") for i in range(1, 4)]
    for source in sources:
        make_file(source, GIB)
    dest = os.path.join(DATA, "dest")
    env = env_for(volumes)
    ours_cmd = [CLI, "import", "--all", "--pattern", "{filename}", "--dest", dest]

    warm(sources)
    fresh(dest)
    baseline_verify = timed(["sh", "-c", f"cp {' '.join(sources)} {dest}/ && sync && xxhsum -H3 {dest}/*"])
    fresh(dest)
    run(["sync"])
    warm(sources)
    ours_verify = timed(ours_cmd, env)
    fresh(dest)
    run(["sync"])
    warm(sources)
    baseline_plain = timed(["sh", "-c", f"cp {' '.join(sources)} {dest}/ && sync"])
    fresh(dest)
    run(["sync"])
    warm(sources)
    ours_plain = timed(ours_cmd + ["--no-verify"], env)
    fresh(dest)
    run(["sync"])

    print(f"3 x 1 GiB, verified:   velarix-cli {ours_verify:6.2f} s, cp+sync+xxhsum {baseline_verify:6.2f} s, "
          f"ratio {ours_verify / baseline_verify:.2f} (bar 1.3)")
    print(f"3 x 1 GiB, --no-verify: velarix-cli {ours_plain:6.2f} s, cp+sync        {baseline_plain:6.2f} s, "
          f"ratio {ours_plain / baseline_plain:.2f} (bar 1.1)")

    # Peak memory: one 1 GiB file, measured by time(1) for that process alone (in KiB).
    report = os.path.join(DATA, "peak.txt")
    run(["/usr/bin/time", "-f", "%M", "-o", report] + ours_cmd[:2] + ["BIG1.MP4"] + ours_cmd[3:], env)
    with open(report) as f:
        peak = int(f.read().split()[-1])
    print(f"peak memory importing 1 GiB: {peak / 1024:.1f} MiB (bar 64 MiB)")
    fresh(dest)


def bench_scan():
    volumes = os.path.join(DATA, "scan-volumes")
    dcim = os.path.join(volumes, "SCAN", "DCIM", "100GOPRO")
    os.makedirs(DATA, exist_ok=True)
    sample = os.path.join(DATA, "sample.mp4")
    if not os.path.exists(sample):
        run(["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=30",
             "-f", "lavfi", "-i", "sine=f=440", "-t", "3", "-c:v", "libx264", "-preset", "ultrafast",
             "-c:a", "aac", "-shortest", sample])
    os.makedirs(dcim, exist_ok=True)
    files = [os.path.join(dcim, f"GX{i:06d}.MP4") for i in range(1000)]
    for path in files:
        if not os.path.exists(path):
            shutil.copyfile(sample, path)
    env = env_for(volumes)
    warm(files)
    ours = timed([CLI, "scan", "--json", "--card", os.path.join(volumes, "SCAN")], env)
    start = time.perf_counter()
    for path in files:
        run(["ffprobe", "-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", path])
    ffprobe = time.perf_counter() - start
    print(f"scan of 1,000 videos: {ours * 1000 / len(files):.2f} ms per video; ffprobe per file "
          f"{ffprobe * 1000 / len(files):.2f} ms per video; {ffprobe / ours:.1f} times faster (bar 10)")


def bench_memory_only():
    volumes = os.path.join(DATA, "big-volumes")
    dest = os.path.join(DATA, "dest")
    fresh(dest)
    report = os.path.join(DATA, "peak.txt")
    run(["/usr/bin/time", "-f", "%M", "-o", report, CLI, "import", "BIG1.MP4", "--pattern", "{filename}",
         "--dest", dest], env_for(volumes))
    with open(report) as f:
        peak = int(f.read().split()[-1])
    print(f"peak memory importing 1 GiB: {peak / 1024:.1f} MiB (bar 64 MiB)")
    fresh(dest)


if __name__ == "__main__":
    if MEMORY_ONLY:
        bench_memory_only()
        sys.exit(0)
    if not os.access(CLI, os.X_OK):
        sys.exit(f"no velarix-cli at {CLI}: build it first (cmake --preset release && cmake --build --preset release)")
    bench_scan()
    bench_copy()
