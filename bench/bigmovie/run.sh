#!/bin/sh
# run.sh FLASHTOOL BIG.SWF: times the large movie at the stage size and at
# 1920x1080 and prints the figures the memory and load goals are about:
# peak memory under 200 MB, load at most 50 ms per MB of file. Wall-clock
# figures first, then processor time, which varies less on a shared machine.
set -eu
flashtool=${1:?usage: run.sh FLASHTOOL BIG.SWF}
movie=${2:?usage: run.sh FLASHTOOL BIG.SWF}
export QT_QPA_PLATFORM=offscreen

for size in 468x336 1920x1080; do
  "$flashtool" bench "$movie" --size "$size" | python3 -c '
import json, sys
r = json.load(sys.stdin)
mb = r["fileBytes"] / 1e6
w, h, load, peak = r["width"], r["height"], r["loadMs"], r["peakMemoryMB"]
frame, render, advance, first = r["frameP95Ms"], r["renderP95Ms"], r["advanceP95Ms"], r["firstRenderMs"]
load_cpu, frame_cpu = r["loadCpuMs"], r["frameCpuP95Ms"]
print(f"{w}x{h}: file {mb:.2f} MB, load {load:.1f} ms ({load / mb:.1f} ms/MB, goal <= 50), "
      f"peak memory {peak:.1f} MB (goal < 200), frame p95 {frame:.2f} ms, "
      f"render p95 {render:.2f} ms, advance p95 {advance:.2f} ms, first render {first:.1f} ms; "
      f"processor time: load {load_cpu:.1f} ms, frame p95 {frame_cpu:.2f} ms")
'
done
