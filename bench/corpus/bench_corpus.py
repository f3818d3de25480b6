#!/usr/bin/env python3
"""Runs `flashtool bench` over every movie of a folder and summarises the figures.

For each movie: load time per megabyte, the 95th percentile of advance plus
drawing time per frame against the movie's frame interval, and peak memory.
Frames are judged twice: as the player draws them (only the region that
changed) and redrawn whole (what a frame costs when everything on it moves).
Budgets checked: p95 frame time at most a tenth of the interval at 468x336 (half
at 1920x1080), loading at most 50 ms per MB, at most 200 MB of memory.

    bench_corpus.py --flashtool BUILD/flashtool [--corpus DIR] [--size 468x336]
                    [--frames N] [--timeout S] [--json OUT.json] [--wall]

Figures are this process's processor time by default, which stays steady when
other work shares the machine; --wall judges by wall-clock time instead.
"""
import argparse
import json
import os
import pathlib
import statistics
import subprocess
import sys
import time

# Below this size a fixed start-up cost of a millisecond or two outweighs any per-megabyte figure.
LOAD_BUDGET_MIN_MB = 0.1

DEFAULT_CORPUS = pathlib.Path(__file__).resolve().parents[3] / "shared" / "corpus" / "files"


def run_one(flashtool, movie, size, frames, timeout):
    command = [flashtool, "bench", str(movie), "--size", size]
    if frames:
        command += ["--frames", str(frames)]
    started = time.monotonic()
    try:
        done = subprocess.run(command, capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return {"file": str(movie), "status": "timeout", "seconds": timeout}
    seconds = time.monotonic() - started
    if done.returncode < 0:
        return {"file": str(movie), "status": "crash", "signal": -done.returncode, "seconds": seconds}
    if done.returncode != 0:
        return {"file": str(movie), "status": "not a movie", "message": done.stderr.strip(), "seconds": seconds}
    figures = json.loads(done.stdout)
    figures.update(status="ok", seconds=seconds)
    return figures


def frame_budget_share(size):
    width, height = (int(v) for v in size.lower().split("x"))
    return 0.5 if width * height >= 1920 * 1080 else 0.1


def summarise(results, size, clock):
    share = frame_budget_share(size)
    frame_key, load_key = ("frameP95Ms", "loadMs") if clock == "wall" else ("frameCpuP95Ms", "loadCpuMs")
    ok = [r for r in results if r["status"] == "ok"]
    by_status = {}
    for r in results:
        by_status[r["status"]] = by_status.get(r["status"], 0) + 1
    print(f"movies: {len(results)}  " + "  ".join(f"{k}: {v}" for k, v in sorted(by_status.items())))
    for r in results:
        if r["status"] in ("crash", "timeout"):
            print(f"  {r['status'].upper()}: {r['file']}")
    if not ok:
        return
    prefix = "" if clock == "wall" else "Cpu"
    over_load, over_memory = [], []
    for r in ok:
        megabytes = r["fileBytes"] / 1e6
        if megabytes >= LOAD_BUDGET_MIN_MB and r[load_key] > 50 * megabytes:
            over_load.append((r[load_key] / megabytes, r))
        if r["peakMemoryMB"] > 200:
            over_memory.append((r["peakMemoryMB"], r))
    print(f"clock: {clock} time")
    over_frame = {}
    for label, key in (("as the player draws", f"playerFrame{prefix}P95Ms"), ("redrawn whole", frame_key)):
        rows = [r for r in ok if key in r]
        if not rows:
            continue
        over = [(r[key] / (r["frameIntervalMs"] * share), r) for r in rows if r[key] > r["frameIntervalMs"] * share]
        over_frame[label] = over
        p95s = [r[key] for r in rows]
        print(f"frame p95 at {size}, {label}: median {statistics.median(p95s):.2f} ms, worst {max(p95s):.2f} ms; "
              f"within {share:.0%} of the interval: {len(rows) - len(over)}/{len(rows)}")
    loads = [r[load_key] for r in ok]
    sized = [r for r in ok if r["fileBytes"] / 1e6 >= LOAD_BUDGET_MIN_MB]
    print(f"load: median {statistics.median(loads):.1f} ms, worst {max(loads):.1f} ms; "
          f"movies of {LOAD_BUDGET_MIN_MB} MB or more within 50 ms/MB: {len(sized) - len(over_load)}/{len(sized)}")
    print(f"peak memory: worst {max(r['peakMemoryMB'] for r in ok):.0f} MB; over 200 MB: {len(over_memory)}")
    lists = [(f"slowest frames {label} (x budget)", rows, "x") for label, rows in over_frame.items()]
    lists += [("slowest loads (ms/MB)", over_load, ""), ("memory (MB)", over_memory, "")]
    for title, rows, unit in lists:
        if rows:
            print(title + ":")
            for value, r in sorted(rows, key=lambda row: -row[0])[:10]:
                print(f"  {value:8.1f}{unit}  {os.path.basename(r['file'])}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--flashtool", required=True)
    parser.add_argument("--corpus", default=str(DEFAULT_CORPUS))
    parser.add_argument("--size", default="468x336")
    parser.add_argument("--frames", type=int, default=0, help="frames per movie (default: all)")
    parser.add_argument("--timeout", type=float, default=300)
    parser.add_argument("--json", help="write every movie's figures here")
    parser.add_argument("--wall", action="store_true", help="judge by wall-clock time, not processor time")
    args = parser.parse_args()

    corpus = pathlib.Path(args.corpus)
    movies = sorted(corpus.rglob("*.swf"))
    if not movies:
        print(f"no movies under {corpus}", file=sys.stderr)
        return 1
    results = []
    for index, movie in enumerate(movies, 1):
        result = run_one(args.flashtool, movie, args.size, args.frames, args.timeout)
        results.append(result)
        print(f"[{index}/{len(movies)}] {result['status']:>11}  {movie.name}", file=sys.stderr)
    if args.json:
        pathlib.Path(args.json).write_text(json.dumps(results, indent=1))
    summarise(results, args.size, "wall" if args.wall else "cpu")
    return 1 if any(r["status"] in ("crash", "timeout") for r in results) else 0


if __name__ == "__main__":
    sys.exit(main())
