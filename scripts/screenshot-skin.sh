#!/usr/bin/env bash
# screenshot-skin.sh SKIN OUTPUT.png [DOCUMENT]
#   Shows SKIN (a skin document, or a ZIP archive of one with its images) in skinui-demo.exe
#   under a private Xvfb display and Wine, and saves a PNG of the screen once it has painted.
#   DOCUMENT names the document inside an archive (default: its first top-level .xml).
#   Environment: ZK_DEMO_EXE (default: the mingw build's bin/skinui-demo.exe), ZK_SHOT_DELAY
#   (seconds to wait before the capture, default 5).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)

if [ "${1:-}" = "--inside-display" ]; then
  shift
  skin=$1 out=$2 document=${3:-}
  . "$here/wine-env.sh"
  delay=${ZK_SHOT_DELAY:-5}
  close_ms=$(( (delay + 20) * 1000 ))
  win_skin=$(winepath -w "$skin")
  args=("$win_skin")
  [ -n "$document" ] && args+=("$document")
  wine "$ZK_DEMO_EXE" "${args[@]}" --close-after "$close_ms" </dev/null >/dev/null 2>&1 &
  demo=$!
  sleep "$delay"
  if command -v import >/dev/null; then
    import -window root "$out"
  else
    xwd -root -silent | convert xwd:- "$out"
  fi
  kill "$demo" 2>/dev/null || true
  wait "$demo" 2>/dev/null || true
  exit 0
fi

if [ $# -lt 2 ]; then
  sed -n '2,8p' "$0" >&2
  exit 2
fi
skin=$(realpath "$1")
out=$(realpath -m "$2")
[ -f "$skin" ] || { echo "no such skin: $1" >&2; exit 1; }
export ZK_DEMO_EXE=${ZK_DEMO_EXE:-$root/build/mingw/bin/skinui-demo.exe}
[ -f "$ZK_DEMO_EXE" ] || { echo "build skinui-demo first (missing $ZK_DEMO_EXE)" >&2; exit 1; }
bash "$here/with-test-display.sh" bash "$0" --inside-display "$skin" "$out" "${3:-}"
[ -s "$out" ] || { echo "no screenshot was taken" >&2; exit 1; }
echo "$out"
