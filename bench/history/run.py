#!/usr/bin/env python3
"""History benchmarks: a card used for years, with 50,000 records of it in the history.

scan     `velarix-cli scan` of a 300-clip card with 50,000 records of that card against the same scan
         with an empty history (bar: ratio 1.1).
window   The application's resident memory, peak, once it has listed the card with those 50,000
         records (bar 110 MiB; the same with an empty history is printed beside it).
history  `velarix-cli history --json` and `history` with the 50,000 records: time (bar 0.5 s) and
         peak memory (bar 64 MiB); the empty history is the other side of each pair.

The records are those of a card formatted again and again: the camera starts its names anew each
time, so most of the 50,000 records share the paths of the clips on the card now (with other sizes),
300 are of those clips, and the jump log holds a jump for every ten of them, over years of days.

Every measure runs as pairs of alternated runs (PAIRS, default 5; the order flips from pair to pair)
and prints the medians and the median of the pair ratios.

Usage: bench/history/run.py [scan|window|history]... [--build DIR] (default: all, build/release)
Data goes to bench/data/history (git-ignored).
"""
import json
import os
import random
import shutil
import sqlite3
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from benchlib import PAIRS, ROOT, parse_arguments  # noqa: E402

DATA = os.path.join(ROOT, "bench", "data", "history")
RECORDS = 50_000
CLIPS = 300

_options, PARTS = parse_arguments(__doc__, ("scan", "window", "history"),
                                  {"--build": os.path.join(ROOT, "build", "release")})
BUILD = _options["--build"]
CLI = os.path.join(BUILD, "cli", "velarix-cli")
APP = os.path.join(BUILD, "Velarix", "velarix")
VOLUMES = os.path.join(DATA, "volumes")
CARD = os.path.join(VOLUMES, "YEARS")
HOMES = {"empty": os.path.join(DATA, "home-empty"), "50,000": os.path.join(DATA, "home-50000")}


def env_for(home):
    env = dict(os.environ)
    runtime = os.path.join(home, "runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    env.update(XDG_CONFIG_HOME=os.path.join(home, "config"), XDG_DATA_HOME=os.path.join(home, "data"),
               XDG_RUNTIME_DIR=runtime, VELARIX_VOLUMES_DIR=VOLUMES, QT_QPA_PLATFORM="offscreen")
    return env


def store_of(home):
    return os.path.join(home, "data", "app.tarnwick.Velarix", "default.store")


def timed(args, env):
    """Runs a command; gives its wall time in seconds and its peak memory in KiB."""
    start = time.perf_counter()
    process = subprocess.Popen(args, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    code = os.waitstatus_to_exitcode(status)
    errors = process.stderr.read().decode(errors="replace")
    if code != 0:
        sys.exit(f"{' '.join(args)} failed ({code}): {errors}")
    return seconds, usage.ru_maxrss


def make_card():
    sample = os.path.join(DATA, "sample.mp4")
    if not os.path.exists(sample):
        os.makedirs(DATA, exist_ok=True)
        subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=5",
                        "-f", "lavfi", "-i", "sine", "-t", "1", "-c:v", "libx264", "-preset", "ultrafast",
                        "-c:a", "aac", sample], check=True)
    folder = os.path.join(CARD, "DCIM", "100GOPRO")
    os.makedirs(folder, exist_ok=True)
    paths = []
    for i in range(CLIPS):
        path = os.path.join(folder, f"GX01{i + 1:04d}.MP4")
        if not os.path.exists(path):
            shutil.copyfile(sample, path)
            with open(path, "ab") as f:  # each clip its own size
                f.write(b"\0" * i)
            stamp = 1_714_550_400 + i * 600
            os.utime(path, (stamp, stamp))
        paths.append(path)
    return paths


def make_homes(paths):
    for label, home in HOMES.items():
        shutil.rmtree(home, ignore_errors=True)
        # The store is made by the program itself, at its own schema.
        timed([CLI, "history", "--card", CARD], env_for(home))
    card = json.loads(subprocess.run([CLI, "--json", "cards"], env=env_for(HOMES["empty"]), check=True,
                                     capture_output=True).stdout)[0]
    rng = random.Random(7)
    db = sqlite3.connect(store_of(HOMES["50,000"]))
    db.execute("INSERT INTO sd_card (id, name) VALUES (?, ?)", (card["uuid"], "YEARS"))
    rows, jumps = [], []
    day0 = 1_500_000_000_000
    for i in range(RECORDS):
        clip = i % CLIPS
        name = f"GX01{clip + 1:04d}.MP4"
        current = i >= RECORDS - CLIPS
        size = os.path.getsize(paths[clip]) if current else rng.randrange(10**6, 4 * 10**9)
        date = day0 + i * 3_600_000
        rows.append((name, card["uuid"], date, f"DCIM/100GOPRO/{name}", size, 1))
        if i % 10 == 0:
            start = day0 + i * 3_600_000
            day = time.strftime("%Y-%m-%d", time.localtime(start / 1000))
            jumps.append((day, 1 + i // 10, start, start + 300_000, card["uuid"], "YEARS"))
    db.executemany("INSERT INTO import_history (file_name, sd_card_id, date, relative_path, file_size, verified) "
                   "VALUES (?, ?, ?, ?, ?, ?)", rows)
    try:
        db.executemany("INSERT INTO jump_log (day, jump, start_ms, end_ms, sd_card_id, card_name) "
                       "VALUES (?, ?, ?, ?, ?, ?)", jumps)
    except sqlite3.OperationalError:
        pass  # a build from before the jump log
    db.commit()
    db.close()


def pairs(label, run, bar, unit):
    """Runs the 50,000-record side and the empty side alternately; prints medians and the median ratio."""
    ratios, big, empty, peaks = [], [], [], {"50,000": [], "empty": []}
    for pair in range(PAIRS):
        results = {}
        for side in (("50,000", "empty") if pair % 2 == 0 else ("empty", "50,000")):
            results[side] = run(side)
            peaks[side].append(results[side][1])
        ratios.append(results["50,000"][0] / results["empty"][0])
        big.append(results["50,000"][0])
        empty.append(results["empty"][0])
    ratio = statistics.median(ratios)
    print(f"{label}: 50,000 records {statistics.median(big):.3f} {unit}, empty history "
          f"{statistics.median(empty):.3f} {unit}; median of {PAIRS} pair ratios {ratio:.2f} "
          f"(pairs: {', '.join(f'{r:.2f}' for r in ratios)})" + (f"; bar {bar}" if bar else ""), flush=True)
    return statistics.median(big), max(peaks["50,000"]) / 1024, max(peaks["empty"]) / 1024, ratio


def bench_scan():
    _, _, _, ratio = pairs("scan of 300 clips",
                           lambda side: timed([CLI, "--json", "scan", "--card", CARD], env_for(HOMES[side])),
                           1.1, "s")
    print(f"  {'ok' if ratio <= 1.1 else 'TOO SLOW'}", flush=True)


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def peak_rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def window_run(side):
    """Starts the application on the card and waits until it has been idle for a second: the card is
    listed, its durations read and its rows marked. Gives that time and the peak resident memory."""
    start = time.perf_counter()
    process = subprocess.Popen([APP], env=env_for(HOMES[side]), stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        last, idle_since = -1, None
        while time.perf_counter() - start < 60:
            time.sleep(0.1)
            ticks = cpu_ticks(process.pid)
            now = time.perf_counter()
            if ticks != last:
                last, idle_since = ticks, now
            elif now - idle_since >= 1.0 and now - start > 2.0:
                break
        seconds = idle_since - start
        peak = peak_rss_kib(process.pid)
    finally:
        process.terminate()
        process.wait()
    return seconds, peak


def bench_window():
    if not os.access(APP, os.X_OK):
        print(f"window: no application at {APP}: skipped")
        return
    _, big, empty, _ = pairs("window until idle with the card listed", window_run, None, "s")
    print(f"  window peak memory: {big:.1f} MiB with 50,000 records, {empty:.1f} MiB with an empty history "
          f"(bar 110 MiB) {'ok' if big < 110 else 'TOO MUCH'}", flush=True)


def bench_history():
    for label, args in (("history --json", ["--json", "history"]), ("history", ["history"])):
        seconds, big, empty, _ = pairs(label, lambda side: timed([CLI, *args, "--card", CARD],
                                                                  env_for(HOMES[side])), None, "s")
        print(f"  {label}: {seconds:.3f} s (bar 0.5 s) {'ok' if seconds < 0.5 else 'TOO SLOW'}; peak memory "
              f"{big:.1f} MiB, {empty:.1f} MiB with an empty history (bar 64 MiB) "
              f"{'ok' if big < 64 else 'TOO MUCH'}", flush=True)


if __name__ == "__main__":
    if not os.access(CLI, os.X_OK):
        sys.exit(f"no velarix-cli at {CLI}: build it first (cmake --preset release && cmake --build --preset release)")
    make_homes(make_card())
    for part in PARTS:
        {"scan": bench_scan, "window": bench_window, "history": bench_history}[part]()
