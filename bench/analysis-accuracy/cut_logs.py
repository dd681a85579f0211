#!/usr/bin/env python3
"""Cuts public FlySight logs to one jump for the real-jump set.

Keeps a window from 40 s before the freefall to 40 s after the canopy flies, and only the
columns the converter reads: seconds since the window's start, hMSL, velN, velE, velD; for
FlySight 2 sensors the accelerations of the IMU rows on the same clock. Usage: cut_logs.py OUT_DIR NAME TRACK [SENSOR] ...
"""
import datetime
import sys


def gnss_rows(path):
    for line in open(path, errors="replace"):
        p = line.strip().split(",")
        if p[0] == "$GNSS":
            p = p[1:]
        if len(p) < 7 or "T" not in p[0] or not p[0][:2].isdigit():
            continue
        try:
            t = datetime.datetime.fromisoformat(p[0].replace("Z", "+00:00")).timestamp()
            yield t, p[0], float(p[3]), float(p[4]), float(p[5]), float(p[6])
        except ValueError:
            continue


def window(rows):
    # The longest run at 25 m/s or more, then the first fix under 12 m/s after it.
    best, start = (0, 0), None
    for i, r in enumerate(rows + [(0, "", 0, 0, 0, 0)]):
        if r[5] >= 25 and start is None:
            start = i
        elif r[5] < 25 and start is not None:
            if i - start > best[1] - best[0]:
                best = (start, i)
            start = None
    canopy = next(r[0] for r in rows[best[1]:] if r[5] < 12)
    return rows[best[0]][0] - 40, canopy + 40


def main():
    out, name, track = sys.argv[1:4]
    rows = list(gnss_rows(track))
    begin, end = window(rows)
    with open(f"{out}/{name}.csv", "w") as f:
        f.write("time,hMSL,velN,velE,velD\n(s),(m),(m/s),(m/s),(m/s)\n")
        for t, iso, h, n, e, d in rows:
            if begin <= t <= end:
                f.write(f"{t - begin:.2f},{h:.2f},{n:.2f},{e:.2f},{d:.2f}\n")
    if len(sys.argv) > 4:
        # Sensor times are the logger's own clock; TIME rows tie them to GPS time of week.
        lines = open(sys.argv[4], errors="replace").read().splitlines()
        gps_epoch = datetime.datetime(1980, 1, 6, tzinfo=datetime.timezone.utc).timestamp()
        times = [l.split(",") for l in lines if l.startswith("$TIME,")]
        # The time of week is on the track's clock already (no leap seconds between them).
        offset = gps_epoch + int(times[0][3]) * 604800 + float(times[0][2]) - float(times[0][1])
        with open(f"{out}/{name}.sensor.csv", "w") as f:
            f.write("time,ax,ay,az\n(s),(g),(g),(g)\n")
            for l in lines:
                p = l.split(",")
                if p[0] == "$IMU" and begin <= float(p[1]) + offset <= end:
                    f.write(f"{float(p[1]) + offset - begin:.3f},{p[5]},{p[6]},{p[7]}\n")


if __name__ == "__main__":
    main()
