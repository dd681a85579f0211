#!/usr/bin/env python3
"""Cuts public logs of real jumps to one jump for the real-jump set.

Keeps a window from 40 s before the freefall to 40 s after the canopy flies (at least 130 s in all,
and on to 15 s after a canopy spiral that follows within two minutes), and only the columns the converter reads: seconds
since the window's start, hMSL, velN, velE, velD; and, where the logger had one, its accelerometer on
the same clock.

Reads FlySight 1 and 2 tracks (with a FlySight 2 SENSOR.CSV) and the NMEA logs of loggers that add
their own IMU rows ($PIMU, in m/s², on a millisecond clock tied to the fixes by $PTH rows). NMEA
fixes carry no vertical speed: it is taken from the altitudes 2 fixes either side.

Usage: cut_logs.py OUT_DIR NAME TRACK [SENSOR]
"""
import datetime
import math
import sys

GRAVITY = 9.80665


def gnss_rows(path):
    for line in open(path, errors="replace"):
        p = line.strip().split(",")
        if p[0] == "$GNSS":
            p = p[1:]
        if len(p) < 7 or "T" not in p[0] or not p[0][:2].isdigit():
            continue
        try:
            t = datetime.datetime.fromisoformat(p[0].replace("Z", "+00:00")).timestamp()
            yield t, float(p[3]), float(p[4]), float(p[5]), float(p[6])
        except ValueError:
            continue


def nmea_log(path):
    """Fixes (t, hMSL, velN, velE, velD) and IMU rows (t, ax, ay, az in g) of an NMEA logger."""
    def time_of_day(field):
        return int(field[0:2]) * 3600 + int(field[2:4]) * 60 + float(field[4:])

    heights, motion, ticks, imu = [], {}, [], []
    fixed = None
    for line in open(path, errors="replace"):
        p = line.strip().split("*")[0].split(",")
        if p[0].endswith("RMC") and len(p) > 8 and p[2] == "A":
            knots, course = float(p[7] or 0), math.radians(float(p[8] or 0))
            speed = knots * 0.514444
            motion[time_of_day(p[1])] = (speed * math.cos(course), speed * math.sin(course))
        elif p[0].endswith("GGA") and len(p) > 9 and p[6] not in ("", "0"):
            fixed = time_of_day(p[1])
            heights.append((fixed, float(p[9])))
        elif p[0] == "$PTH" and fixed is not None:
            ticks.append((int(p[1]) / 1000, fixed))
            fixed = None
        elif p[0] == "$PIMU" and len(p) >= 5:
            imu.append((int(p[1]) / 1000, *(float(v) / GRAVITY for v in p[2:5])))
    rows = []
    for i, (t, h) in enumerate(heights):
        a, b = heights[max(0, i - 2)], heights[min(len(heights) - 1, i + 2)]
        down = -(b[1] - a[1]) / (b[0] - a[0]) if b[0] > a[0] else 0.0
        north, east = motion.get(t, (0.0, 0.0))
        rows.append((t, h, north, east, down))
    # The logger's clock: a fix's row comes after the fix, so the earliest tick is the closest.
    offset = min(t - tick for tick, t in ticks) if ticks else 0
    return rows, [(tick + offset, ax, ay, az) for tick, ax, ay, az in imu]


def window(rows):
    # The first run of 2 s at 20 m/s or more is the freefall (a hop-and-pop may not reach 25 m/s;
    # a canopy spiral comes later); the canopy flies at the first fix under 12 m/s after it.
    start = None
    for i, r in enumerate(rows):
        if r[4] >= 20 and start is None:
            start = i
        elif r[4] < 20 and start is not None:
            if rows[i - 1][0] - rows[start][0] >= 2:
                break
            start = None
    end = next(i for i in range(start, len(rows)) if rows[i][4] < 12)
    canopy = rows[end][0]
    # At least 130 s in all, so that a clip of a short jump can run past 01:30, as cameras film it.
    until = max(canopy + 40, rows[start][0] + 90)
    for t, _, _, _, down in rows[end:]:
        if t > canopy + 120:
            break
        if down >= 15:
            until = max(until, t + 15)
    return rows[start][0] - 40, until


def flysight_sensor(path):
    # Sensor times are the logger's own clock; TIME rows tie them to GPS time of week.
    lines = open(path, errors="replace").read().splitlines()
    gps_epoch = datetime.datetime(1980, 1, 6, tzinfo=datetime.timezone.utc).timestamp()
    times = [l.split(",") for l in lines if l.startswith("$TIME,")]
    # The time of week is on the track's clock already (no leap seconds between them).
    offset = gps_epoch + int(times[0][3]) * 604800 + float(times[0][2]) - float(times[0][1])
    for l in lines:
        p = l.split(",")
        if p[0] == "$IMU":
            yield float(p[1]) + offset, float(p[5]), float(p[6]), float(p[7])


def main():
    out, name, track = sys.argv[1:4]
    head = open(track, errors="replace").read(4096)
    if "GGA," in head or "$PIMU" in head or "$PVER" in head:
        rows, imu = nmea_log(track)
    else:
        rows = list(gnss_rows(track))
        imu = list(flysight_sensor(sys.argv[4])) if len(sys.argv) > 4 else []
    begin, end = window(rows)
    with open(f"{out}/{name}.csv", "w") as f:
        f.write("time,hMSL,velN,velE,velD\n(s),(m),(m/s),(m/s),(m/s)\n")
        for t, h, n, e, d in rows:
            if begin <= t <= end:
                f.write(f"{t - begin:.2f},{h:.2f},{n:.2f},{e:.2f},{d:.2f}\n")
    if imu:
        with open(f"{out}/{name}.sensor.csv", "w") as f:
            f.write("time,ax,ay,az\n(s),(g),(g),(g)\n")
            for t, ax, ay, az in imu:
                if begin <= t <= end:
                    f.write(f"{t - begin:.3f},{ax:.4f},{ay:.4f},{az:.4f}\n")


if __name__ == "__main__":
    main()
