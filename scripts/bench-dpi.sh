#!/usr/bin/env bash
# bench-dpi.sh [RUNS]
# The wizard's first frame at 150 % against 100 %: milliseconds from process creation to the first
# frame on the screen (first_paint_probe), under Wine on a private display, in one prefix at 96 DPI
# and one at 144 DPI, in turn, RUNS times each (default 7). Prints the first start of each
# (cold caches) and the median of the rest.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

# Inside the display, whose own prefix is the 96 DPI one: the 144 DPI prefix started too, then
# setup.exe in each in turn, RUNS times; the milliseconds go to WORK/DPI.ms.
if [ "${1:-}" = --inside-display ]; then
  work=$2 runs=$3
  ZK_WINE_DPI=144 ZK_WINEPREFIX=$root/build/wine-prefix-dpi144 bash scripts/wine-prefix.sh start || exit 1
  : >"$work/96.ms"; : >"$work/144.ms"
  for _ in $(seq "$runs"); do
    for dpi in 96 144; do
      (
        export ZK_WINE_DPI=$dpi ZK_WINEPREFIX=$root/build/wine-prefix-dpi$dpi
        . scripts/wine-env.sh
        wine "$(winepath -w "$work/bin/first_paint_probe.exe")" "$(winepath -w "$work/stage/setup.exe")" \
          </dev/null 2>/dev/null | tr -d '\r' | grep -E '^[0-9]+(\.[0-9]+)?$' >>"$work/$dpi.ms"
      )
      sleep 0.5
    done
  done
  ZK_WINEPREFIX=$root/build/wine-prefix-dpi144 bash scripts/wine-prefix.sh stop
  exit 0
fi

runs=${1:-7}
[[ "$runs" =~ ^[0-9]+$ ]] && [ "$runs" -ge 2 ] || { echo "usage: $0 [RUNS>=2]" >&2; exit 2; }
cmake --preset mingw >/dev/null || exit 1
cmake --build --preset mingw -j2 --target setup 7zCore VIDer ZKUnInstall first_paint_probe >/dev/null \
  || { echo "build failed" >&2; exit 1; }
bin=$root/build/mingw/bin
work=$root/build/bench-dpi
rm -rf "$work" && mkdir -p "$work/stage" "$work/bin"
cp "$bin/setup.exe" "$bin/7zCore.dll" "$work/stage/"
cp "$bin/first_paint_probe.exe" "$work/bin/"
bash scripts/make-payload.sh "$work/stage" "$bin" >/dev/null || exit 1

summary() {
  local first median
  first=$(head -n1 "$1")
  median=$(tail -n +2 "$1" | sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}')
  printf '%-6s first %6s ms   median of the rest %6s ms   (%s runs)\n' "$2" "$first" "$median" "$(wc -l <"$1")"
}

export ZK_WINE_LC_ALL=zh_CN.UTF-8 ZK_WINE_DPI=96 ZK_WINEPREFIX=$root/build/wine-prefix-dpi96
bash scripts/with-test-display.sh bash "$0" --inside-display "$work" "$runs"
echo "first frame of setup.exe under Wine (window 700x420 at 100 %, 1050x630 at 150 %)"
summary "$work/96.ms" "100 %"
summary "$work/144.ms" "150 %"
