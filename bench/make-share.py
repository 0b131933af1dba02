#!/usr/bin/env python3
"""Fills a collecting share from reports that the real vorlixc wrote.

make-share.py SOURCE SHARE STATIONS DAYS

SOURCE holds one folder per machine state (pass, licence, project), each with the text report
and its JSON twin that `vorlixc report Ostrelan --full --out-dir --json-dir` wrote there. SHARE
gets STATIONS x DAYS text reports, named as --out-dir names them, and in SHARE/json the JSON
twins of the last day, with computer, user and time set to match their names. Of every 100
workstations 85 pass throughout, 7 fail from one of the last three days on, 4 failed the day
before the last and are mended, and 4 stopped reporting nine days before the others.
"""
import datetime
import json
import os
import sys


def load(source, state):
    folder = os.path.join(source, state)
    names = sorted(os.listdir(folder))
    text = next(n for n in names if n.endswith(".txt"))
    twin = next(n for n in names if n.endswith(".json"))
    with open(os.path.join(folder, text), "rb") as f:
        text_bytes = f.read()
    with open(os.path.join(folder, twin), "rb") as f:
        document = json.loads(f.read().decode("utf-8"))
    return text_bytes, document


def main():
    source, share, stations, days = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    states = {state: load(source, state) for state in ("pass", "licence", "project")}
    os.makedirs(os.path.join(share, "json"), exist_ok=True)
    first = datetime.date(2026, 12, 9) - datetime.timedelta(days=days - 1)
    texts = twins = 0
    for station in range(stations):
        kind = station % 100
        computer = "WS-%04d" % station
        user = "user%04d" % station
        shift = 9 if kind >= 96 else 0
        for day in range(days):
            if 85 <= kind < 92:
                state = "licence" if day >= days - 1 - station % 3 else "pass"
            elif 92 <= kind < 96:
                state = "project" if day == days - 2 else "pass"
            else:
                state = "pass"
            date = first + datetime.timedelta(days=day - shift)
            moment = datetime.datetime.combine(date, datetime.time(8, station % 60, (station // 60) % 60))
            stamp = moment.strftime("%Y%m%d-%H%M%S")
            name = "%s_%s_Ostrelan_%s" % (computer, user, stamp)
            text_bytes, document = states[state]
            with open(os.path.join(share, name + ".txt"), "wb") as f:
                f.write(text_bytes)
            texts += 1
            if day == days - 1 and not shift:
                twin = dict(document)
                twin["computer"] = computer
                twin["user"] = user
                twin["time"] = moment.strftime("%Y-%m-%dT%H:%M:%S") + "+01:00"
                with open(os.path.join(share, "json", name + ".json"), "wb") as f:
                    f.write(json.dumps(twin, ensure_ascii=False, indent=1).encode("utf-8"))
                twins += 1
    print("%d text reports and %d JSON twins in %s" % (texts, twins, share))


if __name__ == "__main__":
    main()
