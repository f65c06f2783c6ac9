#!/usr/bin/env bash
# bench-setup.sh [RUNS] [--startup-only]
# Figures of the wizard under Wine on a private display, printed side by side with references:
#   - start-up: milliseconds from process creation to the first frame on the screen, setup.exe
#     against a bare Win32 window program, alternating, RUNS times each (default 7); the first
#     start of each (cold caches) and the median of the rest;
#   - size of setup.exe plus 7zCore.dll, the skin inside;
#   - installs of a 200 MiB payload through the wizard (ZK_BENCH_INSTALLS of them, default 3):
#     the median time from the install click to the desktop link, made as the done page shows,
#     and the peak resident memory of setup.exe, with the bare window's for scale;
#     ZK_BENCH_BASELINE_CORE=path/to/7zCore.dll takes turns with an older component and prints
#     the ratio (a before/after of the extraction);
#   - the same install silent (setup.exe /S until it exits);
#   - the payload check's cost: SHA-256 of that 200 MiB zk.7z as setup computes it (hash_probe,
#     file cached), and the rate. --startup-only stops after the first figure. Under Wine a Windows process is one Linux process, so its peak
#     resident set (VmHWM) is the peak working set, Wine's own libraries included.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
startup_only=0
if [ "${2:-}" = --startup-only ]; then startup_only=1
elif [ -n "${2:-}" ]; then echo "usage: $0 [RUNS>=2] [--startup-only]" >&2; exit 2; fi
runs=${1:-7}
[[ "$runs" =~ ^[0-9]+$ ]] && [ "$runs" -ge 2 ] || { echo "usage: $0 [RUNS>=2] [--startup-only]" >&2; exit 2; }

bash scripts/bootstrap.sh >/dev/null || exit 1
cmake --preset mingw >/dev/null || exit 1
cmake --build --preset mingw -j "$(nproc)" --target setup 7zCore VIDer ZKUnInstall bare_window first_paint_probe hash_probe zkstamp \
  >/dev/null || { echo "build failed" >&2; exit 1; }

bin=build/mingw/bin
work=build/bench-setup
rm -rf "$work" && mkdir -p "$work/small" "$work/large"
cp "$bin/setup.exe" "$bin/7zCore.dll" "$work/small/"
bash scripts/make-payload.sh "$work/small" "$bin" >/dev/null || exit 1

export ZK_WINEPREFIX=${ZK_WINEPREFIX:-$root/build/bench-prefix}
if [ "$startup_only" = 0 ]; then
# The large install is a release: its setup.exe checks the payload as users' does.
bash scripts/make-payload.sh "$work/large" "$bin" --filler-mb 200 --release >/dev/null || exit 1
# The stamp's wineserver must be gone before the harness starts the prefix's own.
(. scripts/wine-env.sh && wineserver -w)
fi
export ZK_WINE_LC_ALL=${ZK_WINE_LC_ALL:-zh_CN.UTF-8}
export ZK_DEMO_EXIT_AFTER=1
install_runs=${ZK_BENCH_INSTALLS:-3}
baseline_core=${ZK_BENCH_BASELINE_CORE:-}
[ -z "$baseline_core" ] || [ -f "$baseline_core" ] || { echo "no component at $baseline_core" >&2; exit 2; }
[ -z "$baseline_core" ] || baseline_core=$(cd "$(dirname "$baseline_core")" && pwd)/$(basename "$baseline_core")
export work runs bin startup_only install_runs baseline_core

measure() {
  . scripts/wizard-session.sh
  local probe setup bare i t registration
  # Every run starts with the product not installed, as the silent install leaves it registered.
  registration='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\{5E0A3C91-7B2D-4F6E-9A18-C4D2B7E60F35}'
  wine reg delete "$registration" /f </dev/null >/dev/null 2>&1 || true
  probe=$(winepath -w "$bin/first_paint_probe.exe")
  setup=$(winepath -w "$work/small/setup.exe")
  bare=$(winepath -w "$bin/bare_window.exe")
  : >"$work/setup.ms"; : >"$work/bare.ms"
  for i in $(seq "$runs"); do
    for program in setup bare; do
      local path=$setup
      [ "$program" = bare ] && path=$bare
      t=$(wine "$probe" "$path" </dev/null 2>/dev/null | tr -d '\r' | grep -E '^[0-9.]+$' | tail -1)
      [ -n "$t" ] && echo "$t" >>"$work/$program.ms"
      sleep 0.5
    done
  done
  [ "$startup_only" = 1 ] && return 0

  # Whole installations of the large payload: peak memory, and the time from the install click
  # to the desktop link (made last, as the done page shows). With a baseline component the two
  # components take turns.
  local bin_dir link
  bin_dir=$(unix_path 'C:\Program Files (x86)\zk')
  link=$(unix_path 'C:\users\'"$(id -un)"'\Desktop\Tessaro.lnk')
  install_once() {  # install_once NAME: appends "NAME seconds peak-KiB" to installs.txt
    local hwm=0 now begin end
    rm -rf "$bin_dir" "$link"
    wizard_start "$work/large/setup.exe" || { echo "no wizard window" >&2; return 1; }
    begin=$(date +%s.%N)
    wizard_click "${WIZARD_INSTALL[@]}"
    for _ in $(seq 3000); do
      now=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$wizard_pid/status" 2>/dev/null)
      [ -n "$now" ] && hwm=$now
      [ -e "$link" ] && break
      sleep 0.05
    done
    end=$(date +%s.%N)
    echo "$1 $(awk "BEGIN { print $end - $begin }") $hwm" >>"$work/installs.txt"
    wizard_click "${WIZARD_CLOSE[@]}"
    wizard_wait_exit 60 >/dev/null
    rm -rf "$bin_dir" "$link"
  }
  : >"$work/installs.txt"
  local round
  for round in $(seq "$install_runs"); do
    if [ -n "$baseline_core" ]; then
      cp "$baseline_core" "$work/large/7zCore.dll"
      install_once baseline || return 1
      cp "$bin/7zCore.dll" "$work/large/7zCore.dll"
    fi
    install_once current || return 1
  done

  wine "$bin/bare_window.exe" </dev/null >/dev/null 2>&1 &
  local bare_pid=$! bare_hwm=0
  sleep 3
  bare_hwm=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$bare_pid/status" 2>/dev/null)
  kill "$bare_pid" 2>/dev/null; wait "$bare_pid" 2>/dev/null
  echo "${bare_hwm:-0}" >"$work/bare.hwm"
  rm -rf "$bin_dir" "$link"

  # The same install unattended: setup.exe /S until it exits.
  begin=$(date +%s.%N)
  wine "$work/large/setup.exe" /S </dev/null >/dev/null 2>&1
  local silent_code=$?
  end=$(date +%s.%N)
  echo "$begin $end $silent_code" >"$work/silent.span"
  rm -rf "$bin_dir" "$link"
  wine reg delete "$registration" /f </dev/null >/dev/null 2>&1 || true

  wine "$bin/hash_probe.exe" "$(winepath -w "$work/large/zk.7z")" </dev/null 2>/dev/null | tr -d '\r' >"$work/hash.out"
}
export -f measure
bash scripts/with-test-display.sh bash -c measure || { echo "measurement failed" >&2; exit 1; }

/usr/bin/python3 - "$work" "$startup_only" <<'EOF'
import os, statistics, sys
work = sys.argv[1]
def times(name):
    with open(os.path.join(work, name + ".ms")) as f:
        return [float(line) for line in f if line.strip()]
def number(name):
    with open(os.path.join(work, name)) as f:
        return float(f.read().split()[0] or 0)
setup, bare = times("setup"), times("bare")
if len(setup) < 2 or len(bare) < 2:
    sys.exit("too few start-up samples: setup %d, bare window %d" % (len(setup), len(bare)))
setup_warm, bare_warm = statistics.median(setup[1:]), statistics.median(bare[1:])
ratio = setup_warm / bare_warm
print("Start-up to first frame (ms)   first start   median of %d" % (len(setup) - 1))
print("  setup.exe                    %11.0f   %12.0f" % (setup[0], setup_warm))
print("  bare Win32 window            %11.0f   %12.0f" % (bare[0], bare_warm))
print("  ratio                        %11.2f   %12.2f   goal <= 1.5: %s"
      % (setup[0] / bare[0], ratio, "met" if ratio <= 1.5 else "NOT met"))
if sys.argv[2] == "1":
    sys.exit(0)

size_setup = os.path.getsize("build/mingw/bin/setup.exe")
size_core = os.path.getsize("build/mingw/bin/7zCore.dll")
total = size_setup + size_core
print("Size (bytes)")
print("  setup.exe %d + 7zCore.dll %d = %d (%.2f MiB)   goal <= 1.5 MB: %s"
      % (size_setup, size_core, total, total / 1048576, "met" if total <= 1500000 else "NOT met"))

installs = {}
for line in open(os.path.join(work, "installs.txt")):
    name, secs, hwm = line.split()
    installs.setdefault(name, []).append((float(secs), int(hwm)))
current = statistics.median(s for s, _ in installs["current"])
payload = os.path.getsize(os.path.join(work, "large", "zk.7z"))
print("Install of a %.0f MiB payload, click to the desktop link (median of %d): %.2f s"
      % (payload / 1048576, len(installs["current"]), current))
if "baseline" in installs:
    base = statistics.median(s for s, _ in installs["baseline"])
    print("  with the baseline component: %.2f s; current / baseline = %.2f" % (base, current / base))
print("  peak resident memory of setup.exe  %6.1f MiB" % (max(h for _, h in installs["current"]) / 1024))
print("  bare Win32 window, for scale       %6.1f MiB" % (number("bare.hwm") / 1024))
s_begin, s_end, s_code = (float(v) for v in open(os.path.join(work, "silent.span")).read().split())
print("  the same install silent (setup.exe /S from start to exit, code %d): %.1f s"
      % (s_code, s_end - s_begin))
ms, hashed = (float(v) for v in open(os.path.join(work, "hash.out")).read().split()[:2])
print("Payload check (CNG SHA-256 of zk.7z, cached): %.0f ms for %.0f MiB, %.0f MiB/s"
      % (ms, hashed / 1048576, hashed / 1048576 / (ms / 1000)))
EOF
