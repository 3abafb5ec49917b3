#!/usr/bin/env bash
# Times Quillmoss against the host's own tools on the same data in one run.
# Usage: bench/run.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: bench/run.sh BUILD_DIR}
work=${QUILLMOSS_BENCH_DIR:-${TMPDIR:-/tmp}/quillmoss-bench}
mkdir -p "$work"

# Best wall-clock seconds of three runs of a command (output discarded).
best_of_3() {
  local best="" t
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    t=$(awk -v a="$end" -v b="$start" 'BEGIN { print a - b }')
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$t; fi
  done
  printf '%.3f' "$best"
}

ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}

# --- Enumerating a folder of 100,000 files -----------------------------------
device="$work/enumerate-device"
folder="$device/store/bench"
count=100000
if [ ! -f "$folder/file$(printf '%06d' $((count - 1))).txt" ]; then
  echo "creating $count files in $folder ..."
  rm -rf "$device"
  "$build/bench/bench_enumerate" --create "$device" "$count"
fi
"$build/bench/bench_enumerate" "$device" >/dev/null # warm the caches
"$build/bench/bench_enumerate" "$device"
ours=$(best_of_3 "$build/bench/bench_enumerate" "$device")
theirs=$(best_of_3 find "$folder" -maxdepth 1 -printf '%s %T@ %m\n')
echo "enumerate $count files: FindFirstFileW/FindNextFileW ${ours}s, find ${theirs}s, ratio $(ratio "$ours" "$theirs") (target <= 2)"

# --- Showing a folder of 100,000 files in the file list ----------------------
# Uses the enumeration benchmark's device: \bench with 100,000 files.
"$build/bench/bench_showfolder" "$device" '\bench'
ours=$(best_of_3 "$build/bench/bench_showfolder" "$device" '\bench')
theirs=$(best_of_3 find "$folder" -maxdepth 1 -printf '%s %T@ %m\n')
echo "show folder of $count files: CFileListViewEx ${ours}s, find ${theirs}s, ratio $(ratio "$ours" "$theirs") (target <= 3)"
