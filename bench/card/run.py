#!/usr/bin/env python3
"""Imports from a card read at a card's pace, against reading the card once.

The card is an image file loop-mounted (ext4, direct I/O to the image so that the host caches
nothing of it) whose reads are throttled to a card reader's 90 MiB/s by the block I/O controller
(cgroup v1 `blkio.throttle.read_bps_device`, else cgroup v2 `io.max`): this process and every
program it starts run in that group. Before every run the card's pages are dropped, the destination
and the history are made anew, and nothing is left dirty.

import  two 640 MiB videos: `velarix-cli import` (verified) against `cat` of the same files
        (one read of the card), bar 1.02; and against `import --no-verify`, which shows what the
        read-back adds apart from starting the program and loading the card.
join    a recording of three chapters of 300 MiB: `velarix-cli import` (joined, verified)
        against `cat` of the chapters. Bar 1.02.
importtrim  two 640 MiB videos of 2:20 (a camera's 38 Mbit/s, steady sound, so that nothing is cut):
        `velarix-cli import --trim` against `import` alone (verified both), bar 1.05: what the
        analysis adds when it rides on the import's bytes. Then a jump of the same size (quiet,
        loud from 0:20 to 1:15, quiet again) imported with `--trim --trust-suggestions` against
        `import` alone: the analysis plus the cut of the copy to its suggestion, for the record.
fast    the two videos from the page cache (a source faster than the disk): `velarix-cli import`
        against the floor of writing the same bytes and reading them back (dd with direct I/O:
        write and fdatasync each, then read each back). Bar 1.3.

Every measure alternates the two sides (PAIRS pairs, default 5, the order flipped each pair) and
prints the median of the pair ratios. Needs root (loop device, cgroup) and a release build.

Usage: bench/card/run.py [import|join|importtrim|fast]... [--cli PATH]
Data goes to bench/data/card (git-ignored); about 5 GiB of free space are needed.
"""
import os
import shutil
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from benchlib import MIB, PAIRS, ROOT, parse_arguments  # noqa: E402

DATA = os.path.join(ROOT, "bench", "data", "card")
RATE = 90 * MIB
IMAGE_MIB = 2600

_options, PARTS = parse_arguments(__doc__, ("import", "join", "importtrim", "fast"),
                                  {"--cli": os.path.join(ROOT, "build", "release", "cli", "velarix-cli")})
CLI = _options["--cli"]


def run(*args, **kwargs):
    return subprocess.run(list(args), check=True, **kwargs)


def ffmpeg(*args):
    run("ffmpeg", "-v", "error", "-y", *args)


def timed(args, env=None, ok=(0,)):
    start = time.perf_counter()
    process = subprocess.run(args, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    seconds = time.perf_counter() - start
    if process.returncode not in ok:
        sys.exit(f"{' '.join(args)} failed ({process.returncode}): {process.stderr.decode(errors='replace')}")
    return seconds


def drop(paths):
    """Drops the files' pages, so that the next read comes from the (throttled) device."""
    for path in paths:
        fd = os.open(path, os.O_RDONLY)
        try:
            os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
        finally:
            os.close(fd)


def warm(paths):
    for path in paths:
        with open(path, "rb") as f:
            while f.read(8 * MIB):
                pass


def fresh(path):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)


def load():
    return " ".join(f"{x:.1f}" for x in os.getloadavg())


def pairs(label, ours, baseline, prepare, bar, names):
    ratios, our_times, base_times = [], [], []
    for pair in range(PAIRS):
        results = {}
        for side in ((ours, baseline) if pair % 2 == 0 else (baseline, ours)):
            prepare()
            results[side is ours] = side()
        ratios.append(results[True] / results[False])
        our_times.append(results[True])
        base_times.append(results[False])
    ratio = statistics.median(ratios)
    verdict = "" if bar is None else f"; bar {bar}) {'ok' if ratio <= bar else 'NOT MET'}"
    print(f"{label}: {names[0]} {statistics.median(our_times):.2f} s, {names[1]} "
          f"{statistics.median(base_times):.2f} s; median of {PAIRS} pair ratios {ratio:.3f} "
          f"(pairs: {', '.join(f'{r:.3f}' for r in ratios)}{verdict or ')'}; load {load()}",
          flush=True)


def make_sources():
    """Two videos and a recording of three chapters, stream copies of five seconds of lossless noise
    (a camera's bit rate, large frames, a small index). Made once."""
    os.makedirs(DATA, exist_ok=True)
    clip = os.path.join(DATA, "noise-5s.mp4")
    if not os.path.exists(clip):
        ffmpeg("-f", "lavfi", "-i", "nullsrc=s=1280x720:r=30,geq=random(1)*255:128:128,format=yuv420p",
               "-f", "lavfi", "-i", "sine=f=440:sample_rate=48000", "-t", "5", "-c:v", "libx264",
               "-preset", "ultrafast", "-qp", "0", "-c:a", "aac", clip + ".part.mp4")
        os.rename(clip + ".part.mp4", clip)
    videos = [os.path.join(DATA, "source", f"GX01000{i}.MP4") for i in (1, 2)]
    chapters = [os.path.join(DATA, "source", f"GX0{n}0042.MP4") for n in (1, 2, 3)]
    os.makedirs(os.path.join(DATA, "source"), exist_ok=True)
    for path in videos:
        if not os.path.exists(path):
            ffmpeg("-stream_loop", "-1", "-i", clip, "-map", "0", "-c", "copy", "-fs", str(640 * MIB),
                   path + ".part.mp4")
            os.rename(path + ".part.mp4", path)
    for path in chapters:
        # Each chapter starts at zero, as a camera's do.
        if not os.path.exists(path):
            ffmpeg("-stream_loop", "-1", "-i", clip, "-map", "0", "-c", "copy", "-fs", str(300 * MIB),
                   path + ".part.mp4")
            os.rename(path + ".part.mp4", path)
    return videos, chapters


def make_trim_sources():
    """Two videos of 640 MiB with a steady sound, and one of a jump's sound: 5 s of noise at a
    camera's bit rate, repeated, under 2:30 of pink noise. Made once."""
    clip = os.path.join(DATA, "noise-38M-5s.mp4")
    if not os.path.exists(clip):
        ffmpeg("-f", "lavfi", "-i", "nullsrc=s=1920x1080:r=30,geq=random(1)*255:128:128,format=yuv420p",
               "-t", "5", "-c:v", "libx264", "-preset", "ultrafast", "-b:v", "38M", "-maxrate", "38M",
               "-bufsize", "8M", "-g", "30", clip + ".part.mp4")
        os.rename(clip + ".part.mp4", clip)
    made = []
    for name, volume in (("GX010101.MP4", "0.5"), ("GX010102.MP4", "0.5"),
                         ("GX010103.MP4", "if(between(t,20,75),1,0.03)")):
        path = os.path.join(DATA, "source", name)
        made.append(path)
        if os.path.exists(path):
            continue
        ffmpeg("-stream_loop", "-1", "-i", clip, "-f", "lavfi", "-i",
               f"anoisesrc=color=pink:sample_rate=48000:duration=150,volume='{volume}':eval=frame",
               "-map", "0:v", "-map", "1:a", "-c:v", "copy", "-c:a", "aac", "-ac", "2", "-shortest",
               "-fs", str(640 * MIB), path + ".part.mp4")
        os.rename(path + ".part.mp4", path)
    return made[:2], made[2]


class ThrottledCard:
    """A loop-mounted image whose reads by this process (and its children) are throttled."""

    def __init__(self, files):
        self.image = os.path.join(DATA, "card.img")
        self.mount = os.path.join(DATA, "volumes", "CARD")
        self.group = None
        self.device = None
        if os.path.exists(self.image):
            os.remove(self.image)
        run("truncate", "-s", f"{IMAGE_MIB}M", self.image)
        run("mkfs.ext4", "-q", "-F", "-E", "lazy_itable_init=0,lazy_journal_init=0", self.image)
        self.device = subprocess.run(["losetup", "--find", "--show", "--direct-io=on", self.image],
                                     check=True, capture_output=True, text=True).stdout.strip()
        os.makedirs(self.mount, exist_ok=True)
        run("mount", "-o", "noatime", self.device, self.mount)
        folder = os.path.join(self.mount, "DCIM", "100GOPRO")
        os.makedirs(folder)
        self.files = {}
        for path in files:
            target = os.path.join(folder, os.path.basename(path))
            shutil.copyfile(path, target)
            stat = os.stat(path)
            os.utime(target, (stat.st_atime, stat.st_mtime))
            self.files[os.path.basename(path)] = target
        run("sync")
        self.throttle()

    def throttle(self):
        rdev = os.stat(self.device).st_rdev
        device = f"{os.major(rdev)}:{os.minor(rdev)}"
        v1 = "/sys/fs/cgroup/blkio"
        if os.path.isdir(v1):
            self.group = os.path.join(v1, "velarix-bench-card")
            os.makedirs(self.group, exist_ok=True)
            with open(os.path.join(self.group, "blkio.throttle.read_bps_device"), "w") as f:
                f.write(f"{device} {RATE}")
        else:
            root = "/sys/fs/cgroup"
            with open(os.path.join(root, "cgroup.subtree_control"), "w") as f:
                f.write("+io")
            self.group = os.path.join(root, "velarix-bench-card")
            os.makedirs(self.group, exist_ok=True)
            with open(os.path.join(self.group, "io.max"), "w") as f:
                f.write(f"{device} rbps={RATE}")
        with open(os.path.join(self.group, "cgroup.procs"), "w") as f:
            f.write(str(os.getpid()))

    def close(self):
        if self.group:
            # Back to the root group, so that this one can go.
            with open(os.path.join(os.path.dirname(self.group), "cgroup.procs"), "w") as f:
                f.write(str(os.getpid()))
            os.rmdir(self.group)
        if self.device:
            subprocess.run(["umount", self.mount])
            subprocess.run(["losetup", "-d", self.device])
        if os.path.exists(self.image):
            os.remove(self.image)


def main():
    if not os.access(CLI, os.X_OK):
        sys.exit(f"no velarix-cli at {CLI}: build the release preset first")
    videos, chapters = make_sources()
    steady, jump = make_trim_sources() if "importtrim" in PARTS else ([], None)
    dest = os.path.join(DATA, "dest")
    home = os.path.join(DATA, "home")
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_DATA_HOME=os.path.join(home, "data"), VELARIX_VOLUMES_DIR=os.path.join(DATA, "volumes"))
    print(f"load: {load()}", flush=True)
    if "fast" in PARTS:
        # Straight from the sources' folder, a plain folder of the disk, with the sources cached.
        fast_env = dict(env, VELARIX_VOLUMES_DIR=os.path.join(DATA, "fast-volumes"))
        card = os.path.join(DATA, "fast-volumes", "FAST", "DCIM", "100GOPRO")
        os.makedirs(card, exist_ok=True)
        for path in videos:
            target = os.path.join(card, os.path.basename(path))
            if not os.path.exists(target):
                os.link(path, target)
        copies = [os.path.join(dest, os.path.basename(p)) for p in videos]
        floor = " && ".join(
            [f"dd if={s} of={c} bs=4M oflag=direct conv=fdatasync status=none" for s, c in zip(videos, copies)] +
            [f"dd if={c} of=/dev/null bs=4M iflag=direct status=none" for c in copies])

        def prepare_fast():
            fresh(dest)
            fresh(home)
            run("sync")
            warm(videos)

        pairs("fast source, 2 x 640 MiB verified", lambda: timed(
            [CLI, "import", "--all", "--pattern", "{filename}", "--dest", dest], fast_env),
              lambda: timed(["sh", "-c", floor]), prepare_fast, 1.3, ("velarix-cli", "write, then read back"))
    def preparing(sources):
        """Each run starts from an empty destination and home, with the card's pages dropped."""
        def prepare():
            fresh(dest)
            fresh(home)
            run("sync")
            drop(sources)
        return prepare

    card = None
    try:
        if {"import", "join", "importtrim"} & set(PARTS):
            card = ThrottledCard((videos if "import" in PARTS else []) + (chapters if "join" in PARTS else []) +
                                 steady + ([jump] if jump else []))
        if "import" in PARTS:
            sources = [card.files[os.path.basename(p)] for p in videos]
            prepare = preparing(sources)
            command = [CLI, "import", "--card", card.mount, "--pattern", "{filename}", "--dest", dest] + \
                [os.path.basename(p) for p in videos]
            pairs("90 MiB/s card, 2 x 640 MiB verified", lambda: timed(command, env),
                  lambda: timed(["sh", "-c", f"cat {' '.join(sources)} > /dev/null"]),
                  prepare, 1.02, ("velarix-cli", "one read"))
            # What the read-back costs at all, apart from starting the program and loading the card.
            pairs("90 MiB/s card, verified against --no-verify", lambda: timed(command, env),
                  lambda: timed(command + ["--no-verify"], env), prepare, 1.02, ("verified", "--no-verify"))
        if "join" in PARTS:
            sources = [card.files[os.path.basename(p)] for p in chapters]
            prepare_join = preparing(sources)
            pairs("90 MiB/s card, 3 chapters joined, verified", lambda: timed(
                [CLI, "import", "--card", card.mount, "--pattern", "{filename}", "--dest", dest,
                 os.path.basename(chapters[0])], env),
                  lambda: timed(["sh", "-c", f"cat {' '.join(sources)} > /dev/null"]),
                  prepare_join, 1.02, ("velarix-cli", "one read"))
        if "importtrim" in PARTS:
            def importing(files, *extra):
                sources = [card.files[os.path.basename(p)] for p in files]
                prepare = preparing(sources)
                command = [CLI, "import", "--card", card.mount, "--pattern", "{filename}", "--dest", dest] + \
                    [os.path.basename(p) for p in files]
                # A copy with nothing to cut counts as not trimmed: exit status 1.
                return (lambda: timed(command + list(extra), env, ok=(0, 1))), (lambda: timed(command, env)), \
                    prepare

            trimmed, alone, prepare = importing(steady, "--trim")
            pairs("90 MiB/s card, 2 x 640 MiB verified, --trim (nothing to cut) against import alone",
                  trimmed, alone, prepare, 1.05, ("--trim", "import"))
            trimmed, alone, prepare = importing([jump], "--trim", "--trust-suggestions")
            pairs("90 MiB/s card, a 640 MiB jump verified, --trim (cut to 0:10-1:25) against import alone",
                  trimmed, alone, prepare, None, ("--trim", "import"))
    finally:
        if card:
            card.close()
        shutil.rmtree(dest, ignore_errors=True)


if __name__ == "__main__":
    main()
