#!/usr/bin/env bash
# bench-gallery.sh [RUNS]
# Figures of the SkinUI control gallery (assets/gallery/Gallery.xml) under Wine on a private
# display: skinui-demo.exe --timings, RUNS times (default 7). "build" is building the control
# tree from the skin (parse, create, attributes, the child layout's file, the GIF's frames),
# "first paint" the window's first WM_PAINT (layout and drawing of the whole tree). Prints the
# first (cold) run and the median and range of the rest.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
runs=${1:-7}
[[ "$runs" =~ ^[0-9]+$ ]] && [ "$runs" -ge 2 ] || { echo "usage: $0 [RUNS>=2]" >&2; exit 2; }

if [ "${2:-}" != "--inside-display" ]; then
  cmake --preset mingw >/dev/null || exit 1
  cmake --build --preset mingw -j 2 --target skinui-demo >/dev/null || { echo "build failed" >&2; exit 1; }
  exec bash scripts/with-test-display.sh bash "$0" "$runs" --inside-display
fi

. scripts/wine-env.sh
out=$(mktemp -d)
skin=$(winepath -w assets/gallery/Gallery.xml)
for i in $(seq "$runs"); do
  wine build/mingw/bin/skinui-demo.exe "$skin" --close-after 1000 --timings "$(winepath -w "$out/$i.txt")" \
    </dev/null >/dev/null 2>&1
done
/usr/bin/python3 - "$out" "$runs" <<'PY'
import pathlib, statistics, sys
out, runs = pathlib.Path(sys.argv[1]), int(sys.argv[2])
rows = []
for i in range(1, runs + 1):
    f = out / f"{i}.txt"
    if f.exists():
        rows.append(dict(kv.split("=") for kv in f.read_text().split()))
if len(rows) < 2:
    sys.exit("the demo wrote too few timings")
for key, name in (("build_ms", "build"), ("first_paint_ms", "first paint")):
    values = [float(r[key]) for r in rows]
    rest = values[1:]
    print(f"gallery {name}: first {values[0]:.1f} ms, then median {statistics.median(rest):.1f} ms "
          f"({min(rest):.1f}..{max(rest):.1f}, {len(rest)} runs)")
PY
rm -rf "$out"
