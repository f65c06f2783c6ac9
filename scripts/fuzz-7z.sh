#!/usr/bin/env bash
# Fuzzes the 7z reader for SECONDS (default 300) with libFuzzer, ASan and UBSan.
#   scripts/fuzz-7z.sh [SECONDS]
# Builds build/fuzz/sevenzip-fuzzer with clang, makes seed archives with 7zz in
# build/fuzz/corpus-seed, grows build/fuzz/corpus, and keeps crashing inputs in
# build/fuzz/artifacts. Exits non-zero when the fuzzer found a crash, leak, timeout or OOM.
set -euo pipefail

seconds=${1:-300}
repo=$(cd "$(dirname "$0")/.." && pwd)
out=$repo/build/fuzz
src=$repo/components/7zcore
lzma=/usr/include/lzma
mkdir -p "$out/obj" "$out/corpus" "$out/artifacts"

# --- build -------------------------------------------------------------------------------------
san=(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
cflags=(-O1 -g "${san[@]}" -fsanitize=fuzzer-no-link)
sources=("$src"/*.cpp)
objects=()
for f in "${sources[@]}"; do
  case $(basename "$f") in
    *Win32.cpp | UnzipCore7z.cpp | zk7z.cpp) continue ;;
  esac
  o=$out/obj/$(basename "$f" .cpp).o
  if [ ! -e "$o" ] || [ "$f" -nt "$o" ] || [ -n "$(find "$src" -name '*.h' -newer "$o" -print -quit)" ]; then
    clang++ -std=c++17 "${cflags[@]}" -I"$src" -isystem "$lzma" -c "$f" -o "$o"
  fi
  objects+=("$o")
done
if [ ! -e "$out/obj/LzmaDec.o" ]; then
  clang -std=c99 -w "${cflags[@]}" -I"$lzma" -c "$lzma/LzmaDec.c" -o "$out/obj/LzmaDec.o"
fi
objects+=("$out/obj/LzmaDec.o")
clang++ -std=c++17 -O1 -g "${san[@]}" -fsanitize=fuzzer -I"$src" -isystem "$lzma" \
  "$repo/tests/fuzz/SevenZipFuzzer.cpp" "${objects[@]}" -lz -o "$out/sevenzip-fuzzer"
echo "fuzz-7z: built $out/sevenzip-fuzzer"

# --- seed corpus -------------------------------------------------------------------------------
seeds=$out/corpus-seed
rm -rf "$seeds" "$out/seed-src"
mkdir -p "$seeds"
work=$out/seed-src
mkdir -p "$work"
tree() {  # a small tree: text, a little random data, an exe-like program head
  local d=$1
  rm -rf "$d" && mkdir -p "$d/sub"
  seq 1 700 > "$d/numbers.txt"
  printf 'alpha beta gamma delta\n%.0s' $(seq 1 40) > "$d/sub/words.txt"
  head -c 3000 /dev/zero | tr '\0' 'z' > "$d/sub/zzz.txt"
  python3 -c 'import random,sys; r=random.Random(7); sys.stdout.buffer.write(bytes(r.getrandbits(8) for _ in range(1500)))' > "$d/rand.bin"
}
pack() {  # pack NAME DIR SWITCHES...
  local name=$1 dir=$2
  shift 2
  (cd "$dir" && 7zz a -bd -y "$@" "$seeds/$name.7z" . >/dev/null)
}
tree "$work/t"
pack mx0 "$work/t" -mx0
pack lzma "$work/t" -m0=LZMA
pack deflate "$work/t" -m0=Deflate
pack delta "$work/t" -mf=Delta:4
pack solid-off "$work/t" -ms=off
pack plain-header "$work/t" -mhc=off
pack encrypted-header "$work/t" -pSecret -mhe=on
mkdir -p "$work/exe" && head -c 12000 /usr/bin/true > "$work/exe/tool.exe" && cp "$work/t/numbers.txt" "$work/exe/"
pack default-bcj "$work/exe"
pack bcj2 "$work/exe" -mx9 -mf=BCJ2
# One per branch filter of other processors, over generated call-heavy code, filter + Copy so
# the fuzzer reaches the converters without going through LZMA first.
for f in ARM ARMT ARM64 PPC SPARC IA64 RISCV; do
  mkdir -p "$work/code-$f"
  python3 "$repo/tests/7zcore/make-branch-code.py" "$f" 6000 21 "$work/code-$f/code.bin"
  pack "filter-$(echo "$f" | tr A-Z a-z)" "$work/code-$f" "-m0=$f" -m1=Copy
done
pack filter-arm64-offset "$work/code-ARM64" -m0=ARM64:4096
pack filter-riscv-lzma2 "$work/code-RISCV" -mf=RISCV
mkdir -p "$work/empty-file" && : > "$work/empty-file/empty.txt"
pack empty-file "$work/empty-file"
mkdir -p "$work/empty-folder/nothing here"
pack empty-folder "$work/empty-folder"
mkdir -p "$work/unicode" && printf 'ni hao\n' > "$work/unicode/安装程序 – ünïcødé.txt"
pack unicode "$work/unicode"
echo "fuzz-7z: $(ls "$seeds" | wc -l) seed archives in $seeds"

# --- run ---------------------------------------------------------------------------------------
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zk7z-fuzz-scratch.XXXXXX")
[ -d /dev/shm ] && [ -w /dev/shm ] && { rmdir "$scratch"; scratch=$(mktemp -d /dev/shm/zk7z-fuzz-scratch.XXXXXX); }
trap 'rm -rf "$scratch"' EXIT
marker=$out/artifacts/.run-start
touch "$marker"
log=$out/fuzz.log
set +e
ZK7Z_FUZZ_SCRATCH=$scratch "$out/sevenzip-fuzzer" "$out/corpus" "$seeds" \
  -max_total_time="$seconds" -max_len=65536 -timeout=30 -rss_limit_mb=2048 \
  -artifact_prefix="$out/artifacts/" -print_final_stats=1 >"$log" 2>&1
rc=$?
set -e
tail -n 25 "$log"
found=$(find "$out/artifacts" -type f -newer "$marker" ! -name '.*' | sort)
if [ "$rc" -ne 0 ] || [ -n "$found" ]; then
  echo "fuzz-7z: FAILED (exit $rc); new artifacts:" ${found:-none}
  exit 1
fi
echo "fuzz-7z: no crash in $seconds s ($(grep -o 'Done [0-9]* runs' "$log" | tail -1))"
