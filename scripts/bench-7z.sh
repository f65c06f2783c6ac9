#!/usr/bin/env bash
# Times extraction of one mixed 7z archive (>= 200 MB unpacked) by the native zk7z (Release,
# no sanitizers), 7zz -mmt1 and bsdtar, and prints median wall time and peak RSS of 3 runs each;
# then the 32-bit comparison under Wine (bench-7z-wine.sh, ZK_BENCH_WINE_RUNS runs, default 5).
#   scripts/bench-7z.sh [RUNS]
# The payload and archive are deterministic and kept in build/bench-data between runs; delete
# that folder to make them again. Extraction goes to build/bench-data/out-* on the same disk.
set -euo pipefail

runs=${1:-3}
repo=$(cd "$(dirname "$0")/.." && pwd)
bdir=$repo/build/bench
data=$repo/build/bench-data
payload=$data/payload
archive=$data/payload.7z
for tool in 7zz bsdtar python3 cmake ninja; do
  command -v "$tool" >/dev/null || { echo "bench-7z: $tool is missing; run scripts/bootstrap.sh" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "bench-7z: /usr/bin/time is missing; run scripts/bootstrap.sh" >&2; exit 1; }

# --- optimised zk7z ----------------------------------------------------------------------------
cmake -S "$repo" -B "$bdir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZK_SANITIZE=OFF >/dev/null
cmake --build "$bdir" --target zk7z -j2 >/dev/null
zk7z=$bdir/bin/zk7z
if grep -q 'fsanitize' "$bdir/build.ninja"; then echo "bench-7z: sanitizers are on in $bdir" >&2; exit 1; fi

# --- payload -----------------------------------------------------------------------------------
stamp=$data/.payload-v1
if [ ! -e "$stamp" ]; then
  rm -rf "$data" && mkdir -p "$payload"
  echo "bench-7z: making the payload in $payload"
  seq 1 5000000 > "$payload/numbers.txt"
  python3 - "$payload" <<'EOF'
import os, random, sys
root = sys.argv[1]
r = random.Random(20261208)
words = ["installer", "setup", "payload", "archive", "window", "folder", "alpha", "beta", "gamma",
         "delta", "tessaro", "unicode", "register", "service", "shortcut", "version", "the", "a",
         "of", "and", "to", "in", "is", "progress", "wizard", "license", "component", "option"]
def text(n):
    out, size = [], 0
    while size < n:
        line = " ".join(r.choice(words) for _ in range(r.randint(3, 14))) + "\n"
        out.append(line); size += len(line)
    return "".join(out)[:n].encode()
with open(os.path.join(root, "words.txt"), "wb") as f:
    for _ in range(40):
        f.write(text(1 << 20))
os.makedirs(os.path.join(root, "random"))
for i in range(4):
    with open(os.path.join(root, "random", "blob%d.bin" % i), "wb") as f:
        f.write(r.randbytes(10 << 20))
# One large file of mixed, partly repetitive records.
with open(os.path.join(root, "large.dat"), "wb") as f:
    for i in range(30 * 16):
        kind = i % 3
        chunk = r.randbytes(1 << 16) if kind == 0 else (text(1 << 16) if kind == 1 else bytes([i & 255]) * (1 << 16))
        f.write(chunk)
# Many small files.
for d in range(50):
    sub = os.path.join(root, "small", "d%02d" % d)
    os.makedirs(sub)
    for i in range(100):
        n = r.randint(200, 8000)
        data = text(n) if (i % 4) else r.randbytes(n)
        with open(os.path.join(sub, "f%03d.%s" % (i, "txt" if i % 4 else "bin")), "wb") as f:
            f.write(data)
EOF
  # Programs: the largest regular files of /usr/bin, by name order, up to about 50 MB.
  mkdir -p "$payload/bin"
  total=0
  while read -r size path; do
    [ "$total" -ge $((50 << 20)) ] && break
    cp "$path" "$payload/bin/$(basename "$path").exe"
    total=$((total + size))
  done < <(find /usr/bin -maxdepth 1 -type f -size +300k -printf '%s %p\n' | sort -k2 | head -n 400)
  (cd "$payload" && 7zz a -bd -y "$archive" . >/dev/null)
  touch "$stamp"
fi
unpacked=$(du -sb "$payload" | cut -f1)
echo "bench-7z: payload $((unpacked / 1000000)) MB in $(find "$payload" -type f | wc -l) files; archive $(($(stat -c %s "$archive") / 1000000)) MB"
methods=$(7zz l -slt "$archive" | sed -n 's/^Method = //p' | sort | uniq -c | sed 's/^ */  /')
echo "bench-7z: methods (count, method):"
echo "$methods"
# The largest LZMA/LZMA2 dictionary, in bytes: "LZMA2:24" is 2^24, "LZMA:1536k" is 1536 KiB.
dict=$(echo "$methods" | grep -o 'LZMA2\?:[0-9]*[kmg]\?' | sed 's/.*://' | python3 -c '
import sys
best = 0
for v in sys.stdin.read().split():
    unit = {"k": 1 << 10, "m": 1 << 20, "g": 1 << 30}.get(v[-1], 0)
    n = int(v[:-1]) * unit if unit else (1 << int(v) if int(v) <= 40 else int(v))
    best = max(best, n)
print(best)')
echo "bench-7z: dictionary $((dict >> 20)) MiB"

# --- timing ------------------------------------------------------------------------------------
results=$data/results.txt
: > "$results"
echo "bench-7z: load before $(cut -d' ' -f1-3 /proc/loadavg)"
run_one() {  # run_one NAME OUTDIR COMMAND...
  local name=$1 dir=$2
  shift 2
  rm -rf "$dir" && mkdir -p "$dir" && sync
  /usr/bin/time -f '%e %M' -o "$data/time.txt" "$@" >/dev/null 2>"$data/stderr.txt" || {
    echo "bench-7z: $name failed:" >&2; cat "$data/stderr.txt" >&2; exit 1; }
  echo "$name $(cat "$data/time.txt")" >> "$results"
}
run_tool() {
  case $1 in
    zk7z) run_one zk7z "$data/out-zk7z" "$zk7z" x "$archive" "$data/out-zk7z" ;;
    7zz) run_one "7zz-mmt1" "$data/out-7zz" 7zz x -mmt1 -bd -y "-o$data/out-7zz" "$archive" ;;
    bsdtar) run_one bsdtar "$data/out-bsdtar" bsdtar -xf "$archive" -C "$data/out-bsdtar" ;;
  esac
}
# The tool that runs first after a large delete pays for the file system's clean-up, so the
# order rotates from round to round, and each round starts after a sync.
order=(zk7z 7zz bsdtar)
for i in $(seq 1 "$runs"); do
  for k in 0 1 2; do run_tool "${order[$(((i - 1 + k) % 3))]}"; done
  if [ "$i" -lt "$runs" ]; then rm -rf "$data/out-zk7z" "$data/out-7zz" "$data/out-bsdtar"; sync; sleep 2; fi
done
same=yes
diff -r "$data/out-7zz" "$data/out-zk7z" >/dev/null || same=no
diff -r "$data/out-7zz" "$data/out-bsdtar" >/dev/null || echo "bench-7z: note: bsdtar output differs from 7zz's"
rm -rf "$data/out-zk7z" "$data/out-7zz" "$data/out-bsdtar"

python3 - "$results" "$dict" "$same" <<'EOF'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    name, secs, rss = line.split()
    rows.setdefault(name, []).append((float(secs), int(rss)))
dict_mib = int(sys.argv[2]) / (1 << 20)
med = {n: statistics.median(s for s, _ in v) for n, v in rows.items()}
rss = {n: max(r for _, r in v) / 1024 for n, v in rows.items()}
base = med["7zz-mmt1"]
print()
print("%-10s %10s %12s %14s" % ("tool", "median s", "vs 7zz-mmt1", "peak RSS MiB"))
for n in ("zk7z", "7zz-mmt1", "bsdtar"):
    print("%-10s %10.2f %11.2fx %14.1f" % (n, med[n], med[n] / base, rss[n]))
print("runs: " + ", ".join("%s %s" % (n, " ".join("%.2f" % s for s, _ in v)) for n, v in rows.items()))
def say(text, ok):
    print("%-52s %s" % (text, "met" if ok else "NOT met"))
print()
say("zk7z <= 1.3x 7zz -mmt1 (%.2fx)" % (med["zk7z"] / base), med["zk7z"] <= 1.3 * base)
say("zk7z faster than bsdtar (%.2f s vs %.2f s)" % (med["zk7z"], med["bsdtar"]), med["zk7z"] < med["bsdtar"])
# The writers' queue takes up to 16 MiB of the 64 beside the dictionary.
say("zk7z peak RSS <= dictionary + 64 MiB (%.1f <= %.1f)" % (rss["zk7z"], dict_mib + 64), rss["zk7z"] <= dict_mib + 64)
print("zk7z output equals 7zz's (diff -r): " + sys.argv[3])
EOF

# --- the 32-bit comparison under Wine ----------------------------------------------------------
bash "$repo/scripts/bench-7z-wine.sh" "${ZK_BENCH_WINE_RUNS:-5}"
