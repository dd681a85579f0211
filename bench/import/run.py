#!/usr/bin/env python3
"""Import benchmarks: ratios against standard tools, measured side by side in one run.

copy   Two 1.5 GiB videos. `velarix-cli import` (verification on) against
       cp + sync + dropping the copies from the page cache + xxhsum -H3 of the copies (bar 0.8);
       `--no-verify` against cp + sync (bar 0.7). Peak memory of velarix-cli (bar 64 MiB).
scale  Cards of 1,000 and 20,000 short videos on a tmpfs: scan, plan --all, plan of 5,000 named files
       (1,000 on the small card) and import --all, in time per file. The ratio of the large card's
       time per file to the small card's shows the scaling (bar 1.5: linear, with room for noise).

Every measure runs as pairs of alternated runs (PAIRS, default 5; the order flips from pair to pair)
and prints the median of the pair ratios.

With --against OTHER, `copy` times the same imports by another build of velarix-cli as the baseline
(alternated the same way), to show what a change does under the same load.

Usage: bench/import/run.py [copy|scale]... [--cli PATH] [--against OTHER]
       (default: both, build/release/cli/velarix-cli)
Data goes to bench/data/ (git-ignored); about 6 GiB of free space are needed for `copy`.
"""
import os
import shutil
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from benchlib import MIB, PAIRS, ROOT, parse_arguments  # noqa: E402

DATA = os.path.join(ROOT, "bench", "data")

_options, PARTS = parse_arguments(__doc__, ("copy", "scale"),
                                  {"--cli": os.path.join(ROOT, "build", "release", "cli", "velarix-cli"),
                                   "--against": None})
CLI, AGAINST = _options["--cli"], _options["--against"]


def env_for(volumes, home):
    env = dict(os.environ)
    env.update(XDG_CONFIG_HOME=os.path.join(home, "config"), XDG_DATA_HOME=os.path.join(home, "data"),
               VELARIX_VOLUMES_DIR=volumes)
    return env


def timed(args, env=None):
    """Runs a command; gives its wall time in seconds and its peak memory in KiB."""
    start = time.perf_counter()
    process = subprocess.Popen(args, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    errors = process.stderr.read().decode(errors="replace")
    if process.returncode != 0:
        sys.exit(f"{' '.join(args)} failed ({process.returncode}): {errors}")
    return seconds, usage.ru_maxrss


def fresh(path):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)


def sync():
    subprocess.run(["sync"], check=True)


def warm(paths):
    for path in paths:
        with open(path, "rb") as f:
            while f.read(8 * MIB):
                pass


def pairs(label, ours, baseline, prepare, bar, names=("velarix-cli", "baseline"), unit=("s", 1)):
    """Alternates ours and the baseline, flipping the order each pair; prints the median ratio."""
    ratios, our_times, base_times, peaks = [], [], [], []
    for pair in range(PAIRS):
        results = {}
        for side in ((ours, baseline) if pair % 2 == 0 else (baseline, ours)):
            prepare()
            results[side is ours] = side()
        (our_s, our_kb), (base_s, _) = results[True], results[False]
        ratios.append(our_s / base_s)
        our_times.append(our_s)
        base_times.append(base_s)
        peaks.append(our_kb)
    ratio = statistics.median(ratios)
    print(f"{label}: {names[0]} {statistics.median(our_times) * unit[1]:.2f} {unit[0]}, {names[1]} "
          f"{statistics.median(base_times) * unit[1]:.2f} {unit[0]}; median of {PAIRS} pair ratios {ratio:.2f} "
          f"(pairs: {', '.join(f'{r:.2f}' for r in ratios)}; bar {bar}) {'ok' if ratio <= bar else 'TOO SLOW'}",
          flush=True)
    return max(peaks)


def make_camera_videos(paths, size):
    """Real H.264/AAC MP4s of about `size` bytes at a camera's high bit rate: five seconds of lossless
    720p noise (nothing to compress, so each frame is large and the index small, as in a camera's
    file), looped by stream copy. Made once and kept under bench/data/."""
    if all(os.path.exists(p) and os.path.getsize(p) >= size * 0.98 for p in paths):
        return
    os.makedirs(os.path.dirname(paths[0]), exist_ok=True)
    clip = os.path.join(DATA, "noise-5s.mp4")
    if not os.path.exists(clip):
        subprocess.run(["ffmpeg", "-v", "error", "-f", "lavfi", "-i",
                        "nullsrc=s=1280x720:r=30,geq=random(1)*255:128:128,format=yuv420p", "-f", "lavfi",
                        "-i", "sine=f=440:sample_rate=48000", "-t", "5", "-c:v", "libx264", "-preset", "ultrafast",
                        "-qp", "0", "-c:a", "aac", "-y", clip + ".part.mp4"], check=True)
        os.rename(clip + ".part.mp4", clip)
    for path in paths:
        subprocess.run(["ffmpeg", "-v", "error", "-stream_loop", "-1", "-i", clip, "-map", "0", "-c", "copy",
                        "-fs", str(size), "-y", path + ".part.mp4"], check=True)
        os.rename(path + ".part.mp4", path)


def bench_copy():
    volumes = os.path.join(DATA, "camera-volumes")
    dcim = os.path.join(volumes, "BENCH", "DCIM", "100GOPRO")
    sources = [os.path.join(dcim, f"GX01000{i}.MP4") for i in (1, 2)]
    make_camera_videos(sources, 1536 * MIB)
    dest = os.path.join(DATA, "dest")
    home = os.path.join(DATA, "copy-home")
    env = env_for(volumes, home)
    ours = [CLI, "import", "--all", "--pattern", "{filename}", "--dest", dest]
    copies = " ".join(os.path.join(dest, os.path.basename(s)) for s in sources)
    # `sync` of the copies alone (fsync of each): a bare `sync` would also wait for other processes' writes.
    cp = f"cp {' '.join(sources)} {dest}/ && sync {copies}"
    # dd with iflag=nocache and no data drops a file's pages from the page cache.
    drop = f"for f in {copies}; do dd if=$f iflag=nocache count=0 status=none; done"

    def prepare():
        # Each run starts alike: no copies, nothing dirty, the sources in the page cache, a new history.
        fresh(dest)
        fresh(home)
        sync()
        warm(sources)

    if AGAINST:
        other = [AGAINST] + ours[1:]
        names = ("this build", os.path.basename(AGAINST))
        peak = pairs("2 x 1.5 GiB, verified", lambda: timed(ours, env), lambda: timed(other, env), prepare, 1.0,
                     names)
        peak = max(peak, pairs("2 x 1.5 GiB, --no-verify", lambda: timed(ours + ["--no-verify"], env),
                               lambda: timed(other + ["--no-verify"], env), prepare, 1.0, names))
        print(f"peak memory of this build's import: {peak / 1024:.1f} MiB", flush=True)
        fresh(dest)
        return
    peak = pairs("2 x 1.5 GiB, verified", lambda: timed(ours, env),
                 lambda: timed(["sh", "-c", f"{cp} && {drop} && xxhsum -H3 {copies}"]), prepare, 0.8)
    peak = max(peak, pairs("2 x 1.5 GiB, --no-verify", lambda: timed(ours + ["--no-verify"], env),
                           lambda: timed(["sh", "-c", cp]), prepare, 0.7))
    print(f"peak memory of velarix-cli import: {peak / 1024:.1f} MiB (bar 64 MiB) "
          f"{'ok' if peak < 64 * 1024 else 'TOO MUCH'}", flush=True)
    fresh(dest)


def bench_scale():
    base = os.path.join(DATA, "scale")
    os.makedirs(base, exist_ok=True)
    # A tmpfs, so that the file system's flushes do not hide how our own work grows.
    mounted = os.path.ismount(base) or subprocess.run(
        ["mount", "-t", "tmpfs", "-o", "size=2g", "tmpfs", base], stderr=subprocess.DEVNULL).returncode == 0
    if not mounted:
        print("(no tmpfs could be mounted: measuring on the disk)")
    try:
        sample = os.path.join(base, "sample.mp4")
        subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=5",
                        "-t", "1", "-c:v", "libx264", "-preset", "ultrafast", sample], check=True)
        cards = {}
        for count in (1000, 20000):
            volumes = os.path.join(base, f"volumes-{count}")
            card = os.path.join(volumes, "SCALE")
            for i in range(count):  # 100 folders of up to 200 videos, as hard links of one clip
                folder = os.path.join(card, "DCIM", f"{100 + i // 200}GOPRO")
                if i % 200 == 0:
                    os.makedirs(folder, exist_ok=True)
                path = os.path.join(folder, f"GX{i:06d}.MP4")
                if not os.path.exists(path):
                    os.link(sample, path)
                    stamp = 1_700_000_000 + i * 30
                    os.utime(path, (stamp, stamp))
            cards[count] = (volumes, card)
        dest = os.path.join(base, "dest")
        home = os.path.join(base, "home")

        def command(count, *args):
            volumes, card = cards[count]
            return lambda: timed([CLI, "--json", *args, "--card", card], env_for(volumes, home))

        def named(count):
            n = min(count, 5000)
            return [f"GX{i:06d}.MP4" for i in range(0, count, count // n)][:n]

        def prepare():
            fresh(dest)
            fresh(home)

        measures = [
            ("scan", lambda count: command(count, "scan"), lambda count: count),
            ("plan --all", lambda count: command(count, "plan", "--all"), lambda count: count),
            ("plan of named files", lambda count: command(count, "plan", *named(count)),
             lambda count: len(named(count))),
            ("import --all", lambda count: command(count, "import", "--all", "--no-verify", "--pattern",
                                                   "{filename}", "--dest", dest), lambda count: count),
        ]
        for label, run, files in measures:
            def per_file(count):
                step = run(count)
                return lambda: (lambda r: (r[0] / files(count), r[1]))(step())
            pairs(f"{label} ({files(1000)} and {files(20000)} files), time per file", per_file(20000),
                  per_file(1000), prepare, 1.5, ("20,000 videos", "1,000 videos"), ("ms", 1000))
    finally:
        if mounted and os.path.ismount(base):
            subprocess.run(["umount", base])


if __name__ == "__main__":
    if not os.access(CLI, os.X_OK):
        sys.exit(f"no velarix-cli at {CLI}: build it first (cmake --preset release && cmake --build --preset release)")
    for part in PARTS:
        {"copy": bench_copy, "scale": bench_scale}[part]()
