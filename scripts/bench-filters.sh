#!/usr/bin/env bash
# Decode speed of each branch filter: one archive per filter (filter + Copy, so the filter is
# nearly all the work) over about 134 MB of generated call-heavy code, unpacked by the native
# zk7z (Release, no sanitizers), by the 32-bit zk7z.exe under Wine and by 7zz -mmt1. Prints the
# median MB/s of RUNS runs each (the Wine figure less the time Wine takes to run an empty archive).
#   scripts/bench-filters.sh [RUNS]
# Needs the mingw preset built (cmake --build --preset mingw --target zk7z). Data stays in
# build/bench-filters between runs.
set -euo pipefail

runs=${1:-5}
repo=$(cd "$(dirname "$0")/.." && pwd)
bdir=$repo/build/bench
data=$repo/build/bench-filters
zk7z_exe=$repo/build/mingw/bin/zk7z.exe
filters=(ARM ARMT ARM64 PPC SPARC IA64 RISCV)
[ -x "$zk7z_exe" ] || { echo "bench-filters: $zk7z_exe is missing; build the mingw preset" >&2; exit 1; }

cmake -S "$repo" -B "$bdir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZK_SANITIZE=OFF >/dev/null
cmake --build "$bdir" --target zk7z -j2 >/dev/null
zk7z=$bdir/bin/zk7z

mkdir -p "$data"
for f in "${filters[@]}"; do
  [ -e "$data/$f.7z" ] && continue
  rm -rf "$data/src-$f" && mkdir -p "$data/src-$f"
  python3 "$repo/tests/7zcore/make-branch-code.py" "$f" $((4 << 20)) 31 "$data/piece.bin"
  for i in $(seq 1 32); do cat "$data/piece.bin"; done > "$data/src-$f/code.bin"
  (cd "$data/src-$f" && 7zz a -bd -y "-m0=$f" -m1=Copy "$data/$f.7z" . >/dev/null)
done
rm -f "$data/piece.bin"
mkdir -p "$data/empty" && : > "$data/empty/none.txt"
[ -e "$data/empty.7z" ] || (cd "$data/empty" && 7zz a -bd -y "$data/empty.7z" . >/dev/null)

# Its last step fails when the prefix's services already run, which is fine here.
"$repo/scripts/wine-prefix.sh" start || true
# A wineserver left running makes that step fail for the next harness too.
trap '"$repo/scripts/wine-prefix.sh" stop' EXIT
wine_run() { "$repo/scripts/wine-run.sh" "$@" </dev/null >/dev/null 2>&1; }

seconds() {  # seconds COMMAND... : wall time of one run
  local t0 t1
  t0=$(date +%s.%N)
  "$@" >/dev/null 2>&1 || { echo "bench-filters: failed: $*" >&2; exit 1; }
  t1=$(date +%s.%N)
  awk "BEGIN {print $t1 - $t0}"
}
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
time_tool() {  # time_tool native|wine|7zz ARCHIVE : median seconds
  local out=$data/out times=() i
  for i in $(seq 1 "$runs"); do
    rm -rf "$out"
    case $1 in
      native) times+=("$(seconds "$zk7z" x "$2" "$out")") ;;
      wine) times+=("$(seconds wine_run "$zk7z_exe" x "$(winepath -w "$2" 2>/dev/null)" "$(winepath -w "$out" 2>/dev/null)")") ;;
      7zz) times+=("$(seconds 7zz x -mmt1 -bd -y "-o$out" "$2")") ;;
    esac
  done
  rm -rf "$out"
  median "${times[@]}"
}

. "$repo/scripts/wine-env.sh"
startup=$(time_tool wine "$data/empty.7z")
printf '%-6s %9s %12s %12s %12s\n' filter MB "native MB/s" "Wine MB/s" "7zz MB/s"
for f in "${filters[@]}"; do
  mb=$(awk "BEGIN {print $(stat -c %s "$data/src-$f/code.bin") / 1000000}")
  n=$(time_tool native "$data/$f.7z")
  w=$(time_tool wine "$data/$f.7z")
  z=$(time_tool 7zz "$data/$f.7z")
  awk -v f="$f" -v mb="$mb" -v n="$n" -v w="$w" -v s="$startup" -v z="$z" \
    'BEGIN {printf "%-6s %9.1f %12.0f %12.0f %12.0f\n", f, mb, mb / n, mb / (w - s), mb / z}'
done
printf 'Wine start-up of %.2f s (an empty archive) is taken off the Wine figures\n' "$startup"
