#!/usr/bin/env bash
# Peak memory of extraction against the size of the payload: the native zk7z (Release) and the
# shipped 32-bit zk7z.exe under Wine, on payloads of 50 MB, 256 MB and 1 GB packed with the same 32 MiB
# dictionary, next to 7zz -mmt1 for scale; and the 256 MB payload in solid blocks of 64 MB, whose
# folders decode side by side. Peak memory must stay within dictionary + 64 MiB and must not grow
# with the payload.
#   scripts/bench-memory.sh
# The archives are deterministic and kept in build/bench-memory (about 0.5 GB);
# extraction goes to /dev/shm. Under Wine a Windows process is one Linux process, so its peak
# resident set includes Wine's own libraries.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
data=$repo/build/bench-memory
dict_mib=32
for tool in 7zz python3 cmake ninja wine wineserver; do
  command -v "$tool" >/dev/null || { echo "bench-memory: $tool is missing; run scripts/bootstrap.sh" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "bench-memory: /usr/bin/time is missing; run scripts/bootstrap.sh" >&2; exit 1; }

native_dir=$repo/build/bench
cmake -S "$repo" -B "$native_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZK_SANITIZE=OFF >/dev/null
cmake --build "$native_dir" --target zk7z -j2 >/dev/null
(cd "$repo" && cmake --preset mingw >/dev/null && cmake --build --preset mingw --target zk7z -j2 >/dev/null)
native=$native_dir/bin/zk7z
windows=$repo/build/mingw/bin/zk7z.exe

# One payload of about SIZE MB: the same 2,000 files of 2-40 KiB in 20 folders in every payload,
# so that what the archive's file list costs stays the same, and four large files holding the
# rest; text, random and repetitive bytes mixed, so LZMA has real work.
make_archive() {  # make_archive NAME SIZE_MB [7ZZ SWITCH]
  local name=$1 size=$2 dir=$data/$1 switch=${3:--ms=on}
  [ -f "$data/$name.7z" ] && return 0
  echo "bench-memory: making the $size MB payload"
  rm -rf "$dir" && mkdir -p "$dir"
  python3 - "$dir" "$size" <<'EOF'
import os, random, sys
root, total = sys.argv[1], int(sys.argv[2]) << 20
r = random.Random(20261209)
words = [b"setup", b"payload", b"window", b"folder", b"tessaro", b"archive", b"record", b"the", b"of"]
def chunk(n, kind):
    if kind == 0:
        return r.randbytes(n)
    if kind == 1:
        line = b" ".join(r.choice(words) for _ in range(12)) + b"\n"
        return (line * (n // len(line) + 1))[:n]
    out = bytearray()
    while len(out) < n:
        out += b" ".join(r.choice(words) for _ in range(r.randint(3, 14))) + b"\n"
    return bytes(out[:n])
def write(path, n):
    with open(path, "wb") as f:
        while n > 0:
            k = min(n, 1 << 20)
            f.write(chunk(k, r.randrange(3)))
            n -= k
made = 0
for folder in range(20):
    sub = os.path.join(root, "f%02d" % folder)
    os.makedirs(sub)
    for i in range(100):
        n = r.randint(2 << 10, 40 << 10)
        write(os.path.join(sub, "item%03d.bin" % i), n)
        made += n
for i in range(4):
    write(os.path.join(root, "large%d.dat" % i), max(0, (total - made) // 4))
EOF
  (cd "$dir" && 7zz a -bd -y -mx1 "-md=${dict_mib}m" "$switch" "$data/$name.7z" . >/dev/null)
  rm -rf "$dir"
}
mkdir -p "$data"
make_archive small 50
make_archive medium 256
make_archive large 1024
make_archive blocks 256 -ms=64m

ZK_WINEPREFIX=$repo/build/bench-prefix
. "$repo/scripts/wine-env.sh"
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
wineserver -p 2>/dev/null || true
shm=$(mktemp -d /dev/shm/zk-bench-memory.XXXXXX)
trap 'rm -rf "$shm"; wineserver -k 2>/dev/null || true' EXIT
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

results=$data/results.txt
: > "$results"
peak() {  # peak NAME SIZE COMMAND...; records the peak resident set in KiB
  local name=$1 size=$2
  shift 2
  rm -rf "$shm/out" && mkdir -p "$shm/out"
  /usr/bin/time -f '%e %M' -o "$data/time.txt" "$@" >"$data/stdout.txt" 2>&1 </dev/null || {
    echo "bench-memory: $name failed:" >&2; cat "$data/stdout.txt" >&2; exit 1; }
  echo "$name $size $(cat "$data/time.txt")" >> "$results"
}
echo "bench-memory: load before $(cut -d' ' -f1-3 /proc/loadavg)"
for size in small medium large blocks; do
  archive=$data/$size.7z
  peak zk7z "$size" "$native" x "$archive" "$shm/out"
  peak zk7z.exe "$size" wine "$windows" x "$(windows_path "$archive")" "$(windows_path "$shm/out")"
  peak 7zz-mmt1 "$size" 7zz x -mmt1 -bd -y "-o$shm/out" "$archive"
done
rm -rf "$shm/out"
echo "bench-memory: load after $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$results" "$dict_mib" <<'EOF'
import sys
rows = {}
for line in open(sys.argv[1]):
    name, size, secs, rss = line.split()
    rows[(name, size)] = (float(secs), int(rss) / 1024)
dict_mib = int(sys.argv[2])
limit = dict_mib + 64
sizes = ("small", "medium", "large")
print()
print("peak resident set, MiB (wall s), dictionary %d MiB" % dict_mib)
print("%-10s %16s %16s %16s %16s" % ("tool", "50 MB payload", "256 MB payload", "1 GB payload", "256 MB, 5 blocks"))
for name in ("zk7z", "zk7z.exe", "7zz-mmt1"):
    print("%-10s" % name + "".join("%9.1f (%5.1f)" % (rows[(name, s)][1], rows[(name, s)][0]) for s in sizes + ("blocks",)))
def say(text, ok): print("%-66s %s" % (text, "met" if ok else "NOT met"))
print()
for name in ("zk7z", "zk7z.exe"):
    worst = max(rows[(name, s)][1] for s in sizes)
    say("%s peak <= dictionary + 64 MiB (%.1f <= %d)" % (name, worst, limit), worst <= limit)
    blocks = rows[(name, "blocks")][1]
    say("%s peak on 64 MB blocks side by side <= dictionary + 64 MiB (%.1f)" % (name, blocks), blocks <= limit)
    for low in ("small", "medium"):
        growth = rows[(name, "large")][1] - rows[(name, low)][1]
        say("%s flat from %s to 1 GB (grows %.1f MiB, <= 4)" % (name, "50 MB" if low == "small" else "256 MB", growth),
            growth <= 4)
EOF
