#!/usr/bin/env bash
# Times `VormistaChecksum Brief` over the seven installation files (about 1 GiB in all,
# already in the page cache) against other CRC-32 tools and against reading the files
# alone with dd in the program's 4096-byte chunks. Commands take turns, so that the
# machine's noise falls on all of them alike; each figure is the median of the runs.
#
#   bench/compare.sh [build-dir [runs]]      (default build/linux, 5 runs)
#
# The files are made once in $VORMISTA_BENCH_DIR (default /tmp/vormista-bench) and kept.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/linux}" && pwd)
runs=${2:-5}
program=$build/checker/VormistaChecksum
dir=${VORMISTA_BENCH_DIR:-/tmp/vormista-bench}

names=(vorinst.exe vorinstLite.exe vorupdt.exe vorupdtLite.exe vordbupdt.exe
  vorinstNetServer.exe vorinstNetClient.exe)
mebibytes=(256 96 192 64 128 160 128)

mkdir -p "$dir"
cd "$dir"
for i in "${!names[@]}"; do
  size=$((mebibytes[i] << 20))
  if [ "$(stat -c %s "${names[i]}" 2>/dev/null || echo 0)" != "$size" ]; then
    head -c "$size" /dev/urandom >"${names[i]}"
  fi
done
cat "${names[@]}" >/dev/null
cat "${names[@]}" >/dev/null

dd_all() { for f in "${names[@]}"; do dd if="$f" of=/dev/null bs=4096 status=none; done; }

labels=("VormistaChecksum Brief")
commands=("$program Brief")
add_peer() { # label, command; only where the tool is installed
  if command -v "${2%% *}" >/dev/null; then
    labels+=("$1")
    commands+=("$2")
  else
    echo "(${2%% *} not installed: $1 left out)"
  fi
}
add_peer "7z h -scrcCRC32" "7z h -scrcCRC32 ${names[*]}"
add_peer "rhash --crc32" "rhash --crc32 ${names[*]}"
add_peer "crc32 (Archive::Zip)" "crc32 ${names[*]}"
add_peer "dd bs=4096 (read only)" "dd_all"

declare -A times
for ((run = 0; run < runs; run++)); do
  for i in "${!commands[@]}"; do
    start=$(date +%s%N)
    eval "${commands[i]}" >/dev/null
    end=$(date +%s%N)
    times[$i]+="$((end - start)) "
  done
done

median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | sed -n "$(((runs + 1) / 2))p"; }
echo "kernel: $("$build/bench/crc32_kernel")"
echo "files: ${#names[@]}, $(du -cb "${names[@]}" | tail -1 | cut -f1) bytes; median of $runs runs"
ours=$(median "${times[0]}")
printf '%-26s %10s %12s %12s\n' command seconds "this / ours" "ours / this"
for i in "${!commands[@]}"; do
  t=$(median "${times[$i]}")
  awk -v l="${labels[i]}" -v t="$t" -v o="$ours" 'BEGIN { printf "%-26s %10.3f %12.2f %12.2f\n", l, t / 1e9, t / o, o / t }'
done
