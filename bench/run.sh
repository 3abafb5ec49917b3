#!/usr/bin/env bash
# Times Quillmoss against the host's own tools on the same data in one run.
# Usage: bench/run.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: bench/run.sh BUILD_DIR}
work=${QUILLMOSS_BENCH_DIR:-${TMPDIR:-/tmp}/quillmoss-bench}
mkdir -p "$work"

# Wall-clock seconds of one run of a command (output discarded).
seconds_of() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null
  end=$(date +%s.%N)
  awk -v a="$end" -v b="$start" 'BEGIN { printf "%.3f", a - b }'
}

# Best of three runs.
best_of_3() {
  local best=""
  for _ in 1 2 3; do
    best=$(min "$(seconds_of "$@")" "$best")
  done
  echo "$best"
}

ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}

min() {
  awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a < b) ? a : b }'
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
echo "enumerate $count files: FindFirstFileW/FindNextFileW ${ours}s, find ${theirs}s, ratio $(ratio "$ours" "$theirs") (target <= 1.2)"

# --- Showing a folder of 100,000 files in the file list ----------------------
# Uses the enumeration benchmark's device: \bench with 100,000 files.
"$build/bench/bench_showfolder" "$device" '\bench'
ours=$(best_of_3 "$build/bench/bench_showfolder" "$device" '\bench')
theirs=$(best_of_3 find "$folder" -maxdepth 1 -printf '%s %T@ %m\n')
echo "show folder of $count files: CFileListViewEx ${ours}s, find ${theirs}s, ratio $(ratio "$ours" "$theirs") (target <= 1.5)"

# --- Showing a folder of 1,000,000 files (QUILLMOSS_BENCH_MILLION=1) ---------
# Slow to lay out (minutes) and to run: only on request. Prints the time
# against find and the peak memory the load added per row.
if [ -n "${QUILLMOSS_BENCH_MILLION:-}" ]; then
  million="$work/million-device"
  if [ ! -f "$million/store/bench/file999999.txt" ]; then
    echo "creating 1,000,000 files in $million ..."
    rm -rf "$million"
    "$build/bench/bench_enumerate" --create "$million" 1000000
  fi
  "$build/bench/bench_showfolder" "$million" '\bench' # warm the caches
  start=$(date +%s.%N)
  shown=$("$build/bench/bench_showfolder" "$million" '\bench')
  ours=$(awk -v a="$(date +%s.%N)" -v b="$start" 'BEGIN { printf "%.3f", a - b }')
  theirs=$(best_of_3 find "$million/store/bench" -maxdepth 1 -printf '%s %T@ %m\n')
  echo "show folder of 1,000,000 files: CFileListViewEx ${ours}s, find ${theirs}s, ratio $(ratio "$ours" "$theirs") (target <= 2); ${shown##*, } (target < 700)"
fi

# --- Sorting 20,000 and 100,000 entries by every key ------------------------
"$build/bench/bench_sort"

# --- Settings store reads ------------------------------------------------------
"$build/bench/bench_registry"

# --- Start-up to the first painted list, 10,000 files in \Windows ------------
# The whole program run: start, first-run work done once beforehand, the main
# window painted into a PNG, normal exit: an upper bound of the start-up time.
# The tree probes \Windows for subfolders among its 10,000 files.
startup="$work/startup-device"
if [ ! -f "$startup/store/Windows/f09999.dll" ]; then
  rm -rf "$startup"
  QT_QPA_PLATFORM=offscreen "$build/quillmoss" --device "$startup" --screenshot "$work/startup.png" 2>/dev/null
  (cd "$startup/store/Windows" && seq -f 'f%05g.dll' 0 9999 | xargs touch)
fi
ours=$(best_of_3 env QT_QPA_PLATFORM=offscreen "$build/quillmoss" --device "$startup" --screenshot "$work/startup.png")
echo "start-up to the first painted list (device root, whole run incl. exit): ${ours}s (target < 0.5)"

# --- Pasting 10,000 files from the list into a folder of 100,000 -------------
# Files copied in the list and pasted into a folder shown in the list (the
# paste, then the list's refresh), against cp of the same files, and against
# cp followed by find listing the folder as the list does.
# Every run pastes into its own hard-linked copy of \full, made untimed: in a
# folder whose files were just deleted ext4 searches its inode tables for
# minutes, which would time the file system's state rather than the copy; so
# this comes before the benchmarks that delete, and its folders go at the end.
files="$work/pastefiles-device"
if [ ! -f "$files/store/new/new009999.txt" ]; then
  rm -rf "$files"
  "$build/bench/bench_paste" --create-files "$files"
fi
rm -rf "$files/store/into-"*
for round in 1 2 3; do
  for side in ours cp show; do cp -al "$files/store/full" "$files/store/into-$side$round"; done
done
sync
ours="" theirs="" shown=""
for round in 1 2 3; do
  ours=$(min "$("$build/bench/bench_paste" files "$files" "into-ours$round" | awk '{ print $2 }')" "$ours")
  theirs=$(min "$(seconds_of sh -c "cp '$files/store/new/'* '$files/store/into-cp$round/'")" "$theirs")
  shown=$(min "$(seconds_of sh -c "cp '$files/store/new/'* '$files/store/into-show$round/' \
    && find '$files/store/into-show$round' -maxdepth 1 -printf '%s %T@ %m\n'")" "$shown")
done
echo "paste 10,000 files from the list into a folder of 100,000: CFileOperations ${ours}s, cp ${theirs}s, ratio $(ratio "$ours" "$theirs") (target <= 1.5); cp then find ${shown}s, ratio $(ratio "$ours" "$shown")"

# --- Pasting a copied folder tree of ~1 GiB; deleting 100,000 small files ----
paste="$work/paste-device"
if [ ! -f "$paste/store/src/d099/f199.txt" ]; then
  rm -rf "$paste"
  "$build/bench/bench_paste" --create "$paste"
fi
sync
ours=$(best_of_3 "$build/bench/bench_paste" copy "$paste")
theirs=$(best_of_3 sh -c "rm -rf '$work/cp-target' && mkdir '$work/cp-target' && cp -r '$paste/store/src' '$work/cp-target/'")
rm -rf "$work/cp-target"
echo "paste a copied tree of ~1 GiB (4 large, 20,000 small files): CFileOperations ${ours}s, cp -r ${theirs}s, ratio $(ratio "$ours" "$theirs")"

# Each run deletes its own freshly made tree, written to disk first; only the
# delete is timed. Ours and rm take turns, three rounds, best of each.
fresh_tree() {
  "$build/bench/bench_paste" --create-many "$paste" 100000
  sync
}
timed_delete() {
  fresh_tree
  "$build/bench/bench_paste" delete "$paste" | awk '{ print $2 }'
}
timed_rm() {
  fresh_tree
  seconds_of rm -rf "$paste/store/many"
}
ours="" theirs=""
for _ in 1 2 3; do
  ours=$(min "$(timed_delete)" "$ours")
  theirs=$(min "$(timed_rm)" "$theirs")
done
echo "delete 100,000 small files: CFileOperations ${ours}s, rm -rf ${theirs}s, ratio $(ratio "$ours" "$theirs")"

# --- Copying a folder into an SMB share on a loopback Samba server -----------
# 2,000 small files and two of 100 MB; the program starts its own smbd.
"$build/bench/bench_smbcopy" "$work/smb-device"

# --- Beaming a 200 MB file between two devices on loopback --------------------
"$(dirname "$0")/beam.sh" "$build" "$work"

# --- Find Files: contents of ~1 GiB of text files, names of 200,000 files ----
# The data is made in a temporary folder and removed afterwards. The search is
# timed inside the program (tap on Start to the last hit shown); ours and the
# host's tool take turns, three rounds, best of each.
finds=$(mktemp -d "$work/find.XXXXXX")
trap 'rm -rf "$finds"' EXIT
"$build/bench/bench_find" --create-text "$finds/text" >/dev/null
"$build/bench/bench_find" --create-names "$finds/names" >/dev/null
compare_find() { # label, our command word, device, host command...
  local label=$1 what=$2 dev=$3 ours="" theirs=""
  shift 3
  "$build/bench/bench_find" "$what" "$dev" >/dev/null 2>&1 # warm the caches
  "$@" >/dev/null
  for _ in 1 2 3; do
    ours=$(min "$("$build/bench/bench_find" "$what" "$dev" 2>/dev/null | awk '{ print $4 }')" "$ours")
    theirs=$(min "$(seconds_of "$@")" "$theirs")
  done
  echo "$label: Find Files ${ours}s, $1 ${theirs}s, ratio $(ratio "$ours" "$theirs")"
}
compare_find "content search of ~1 GiB of text for a rare phrase (target <= 1.2)" content "$finds/text" \
  grep -rlF 'marmot lantern' "$finds/text/store/text"
compare_find "name search among 200,000 files (target <= 1.5)" names "$finds/names" \
  find "$finds/names/store/names" -name '*12345*'

# Deleted last: see the list paste.
rm -rf "$files/store/into-"*
