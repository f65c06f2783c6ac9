#!/usr/bin/env bash
# bench-journal.sh [RUNS] [BASE]
# What the all-or-nothing unpack costs, under Wine, on the 200 MiB payload (make-payload.sh
# --filler-mb 200), against the unpack of BASE (a commit without the journal, default main):
#   - seconds of zk7z.exe x into an empty folder and over the same version (every file
#     replaced), median of RUNS (default 3) each, files cached;
#   - peak disk use of the folder and what lies beside it during the replacing unpack, sampled
#     every 20 ms;
#   - the cancel latency of a stored 1 GiB file's unpack (the 200 MiB one can be written before a
#     close is seen), RUNS times each: setup's worker cancelled a quarter of the way
#     (cancel_probe.exe: from the cancel to the failure report, the run undone), and setup.exe's
#     wizard closed while it unpacks (from the click on the close button to the end of the
#     process) with how many names the folder holds afterwards.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
runs=${1:-3}
base=${2:-main}
[[ "$runs" =~ ^[0-9]+$ ]] && [ "$runs" -ge 1 ] || { echo "usage: $0 [RUNS>=1] [BASE]" >&2; exit 2; }

cmake --preset mingw >/dev/null || exit 1
cmake --build --preset mingw -j2 --target setup 7zCore VIDer ZKUnInstall zk7z cancel_probe >/dev/null \
  || { echo "build failed" >&2; exit 1; }
work=$root/build/bench-journal
rm -rf "$work/large" "$work/packed" "$work/out" && mkdir -p "$work/large" "$work/packed" "$work/base"
if [ ! -e "$work/base/commit" ] || [ "$(cat "$work/base/commit")" != "$(git rev-parse "$base")" ]; then
  rm -rf "$work/base/src" && mkdir -p "$work/base/src"
  git archive "$base" | tar -x -C "$work/base/src" || exit 1
  (cd "$work/base/src" && cmake --preset mingw >/dev/null && cmake --build --preset mingw -j2 --target zk7z >/dev/null) \
    || { echo "the build of $base failed" >&2; exit 1; }
  git rev-parse "$base" >"$work/base/commit"
fi
cp build/mingw/bin/setup.exe build/mingw/bin/7zCore.dll "$work/large/"
bash scripts/make-payload.sh "$work/large" build/mingw/bin --filler-mb 200 >/dev/null || exit 1
cp build/mingw/bin/setup.exe build/mingw/bin/7zCore.dll "$work/packed/"
bash scripts/make-payload.sh "$work/packed" build/mingw/bin >/dev/null || exit 1
head -c 1G /dev/urandom >"$work/filler.bin"
(cd "$work" && 7zz a -bso0 -bsp0 -mx0 packed/zk.7z filler.bin && rm filler.bin) || exit 1
export ZK_WINEPREFIX=${ZK_WINEPREFIX:-$root/build/bench-prefix}
export ZK_DEMO_EXIT_AFTER=1
export work runs root

measure() {
  . scripts/wizard-session.sh
  local archive out tool kind i begin end peak now
  archive=$(winepath -w "$work/large/zk.7z")
  out=$work/out/zkbin
  for tool in base journal; do
    local exe=$root/build/mingw/bin/zk7z.exe
    [ "$tool" = base ] && exe=$work/base/src/build/mingw/bin/zk7z.exe
    for i in $(seq "$runs"); do
      for kind in fresh replace; do
        [ "$kind" = fresh ] && rm -rf "$work/out"
        mkdir -p "$work/out"
        peak=0
        begin=$(date +%s.%N)
        wine "$exe" x "$archive" "$(winepath -w "$out")" </dev/null >/dev/null 2>&1 &
        local pid=$!
        while kill -0 "$pid" 2>/dev/null; do
          now=$(du -sb "$work/out" 2>/dev/null | cut -f1)
          [ "${now:-0}" -gt "$peak" ] && peak=$now
          sleep 0.02
        done
        wait "$pid" || { echo "zk7z ($tool) failed" >&2; return 1; }
        end=$(date +%s.%N)
        echo "$tool $kind $begin $end $peak" >>"$work/unpack.txt"
      done
    done
  done

  # Cancel latency: the worker cancelled, then the wizard closed once the large file is being
  # written.
  for i in $(seq "$runs"); do
    rm -rf "$work/out" && mkdir -p "$work/out/zkbin"
    wine "$root/build/mingw/bin/cancel_probe.exe" "$(winepath -w "$work/packed/zk.7z")" \
      "$(winepath -w "$work/out/zkbin")" </dev/null 2>/dev/null | tr -d '\r' | tail -1 >>"$work/probe.txt"
  done
  rm -rf "$work/out"
  local folder part start
  folder=$(unix_path 'C:\Program Files (x86)\zk')
  part=$folder/zkbin/filler.bin.zk7z~part
  for i in $(seq "$runs"); do
    rm -rf "$folder"
    wizard_start "$work/packed/setup.exe" || { echo "no wizard window" >&2; return 1; }
    wizard_click "${WIZARD_INSTALL[@]}"
    xdotool mousemove $((WX + WIZARD_CLOSE[0])) $((WY + WIZARD_CLOSE[1]))
    wait_for_file "$part" 60 || { echo "the unpack did not start" >&2; return 1; }
    start=$(date +%s.%N)
    xdotool click 1
    wizard_wait_exit 60 >/dev/null
    end=$(date +%s.%N)
    local left
    left=$(find "$folder/zkbin" -mindepth 1 | wc -l)
    echo "$start $end $left" >>"$work/cancel.txt"
  done
  rm -rf "$folder"
}
export -f measure
: >"$work/unpack.txt"; : >"$work/cancel.txt"; : >"$work/probe.txt"
bash scripts/with-test-display.sh bash -c measure || { echo "measurement failed" >&2; exit 1; }

/usr/bin/python3 - "$work" "$base" <<'PY'
import statistics, sys
work, base = sys.argv[1], sys.argv[2]
rows = [line.split() for line in open(work + "/unpack.txt") if line.strip()]
print("Unpack of the 200 MiB payload by zk7z.exe under Wine (median of %d)" % (len(rows) // 4))
print("  %-22s %10s %12s %16s" % ("", "seconds", "peak MiB", "peak over data"))
data = {}
for tool in ("base", "journal"):
    for kind in ("fresh", "replace"):
        r = [row for row in rows if row[0] == tool and row[1] == kind]
        secs = statistics.median(float(x[3]) - float(x[2]) for x in r)
        peak = max(int(x[4]) for x in r) / 1048576
        data[tool, kind] = (secs, peak)
for kind in ("fresh", "replace"):
    for tool in ("base", "journal"):
        secs, peak = data[tool, kind]
        label = "%s, %s" % (kind, base if tool == "base" else "journal")
        print("  %-22s %10.2f %12.1f %15.1f" % (label, secs, peak, peak - data["base", "fresh"][1]))
    print("  %-22s %+9.1f%%" % ("  journal's time cost", 100 * (data["journal", kind][0] / data["base", kind][0] - 1)))
probe = [line.split() for line in open(work + "/probe.txt") if line.strip()]
ms = sorted(float(p[0]) for p in probe)
print("Cancel latency of the unpack (setup's worker, cancel to its failure report, run undone), %d runs:" % len(ms))
print("  median %.0f ms, max %.0f ms, cancelled at %.0f of %.0f MiB"
      % (statistics.median(ms), ms[-1], int(probe[0][1]) / 1048576, int(probe[0][2]) / 1048576))
cancel = [line.split() for line in open(work + "/cancel.txt") if line.strip()]
ms = sorted(1000 * (float(e) - float(s)) for s, e, _ in cancel)
left = [int(n) for _, _, n in cancel]
print("Cancel latency of the wizard (close during the large file to the end of setup.exe), %d runs:" % len(ms))
print("  median %.0f ms, max %.0f ms; names left in the program folder: %s" % (statistics.median(ms), ms[-1], left))
PY
