#!/usr/bin/env bash
# Beams a 200 MB file from one device to another on loopback through the
# irsquirt stand-in (both sides real programs), against cp of the same file
# between the two device folders. Reports the ratio and the receiver's peak
# memory against that of a receiver that only started up.
# Usage: bench/beam.sh BUILD_DIR WORK_DIR
set -euo pipefail

build=${1:?usage: bench/beam.sh BUILD_DIR WORK_DIR}
work=${2:?usage: bench/beam.sh BUILD_DIR WORK_DIR}/beam
rm -rf "$work"
mkdir -p "$work"
for d in a b; do "$build/qmdevice" --device "$work/$d" ls '\' >/dev/null; done
source="$work/b/store/My Documents/big.bin"
head -c 200M /dev/urandom >"$source"

export QUILLMOSS_IR_PORT
QUILLMOSS_IR_PORT=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
export QUILLMOSS_IR_WAIT=30

# Peak resident memory (kB) of a receiver that only starts up and gives up.
startup_kb=$(QUILLMOSS_IR_WAIT=0.1 QUILLMOSS_DEVICE="$work/a" /usr/bin/time -f %M "$build/irsquirt" 2>&1 >/dev/null | tail -1 || true)

seconds() { date +%s.%N; }
best="" peak_kb=0
for _ in 1 2 3; do
  rm -f "$work/a/store/big.bin"
  sync
  QUILLMOSS_DEVICE="$work/a" /usr/bin/time -f %M -o "$work/rss" "$build/irsquirt" 2>/dev/null &
  receiver=$!
  # Time the beam only, from a receiver that is already listening.
  until ss -Hltn "sport = :$QUILLMOSS_IR_PORT" | grep -q .; do sleep 0.01; done
  start=$(seconds)
  QUILLMOSS_DEVICE="$work/b" QUILLMOSS_COMMAND_LINE='\My Documents\big.bin' "$build/irsquirt" 2>/dev/null
  wait "$receiver"
  t=$(awk -v a="$(seconds)" -v b="$start" 'BEGIN { print a - b }')
  cmp -s "$source" "$work/a/store/big.bin" || { echo "beam: the received file differs" >&2; exit 1; }
  kb=$(tail -1 "$work/rss")
  [ "$kb" -gt "$peak_kb" ] && peak_kb=$kb
  if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$t; fi
done

cp_best=""
for _ in 1 2 3; do
  rm -f "$work/a/store/cp.bin"
  sync
  start=$(seconds)
  cp "$source" "$work/a/store/cp.bin"
  t=$(awk -v a="$(seconds)" -v b="$start" 'BEGIN { print a - b }')
  if [ -z "$cp_best" ] || awk -v a="$t" -v b="$cp_best" 'BEGIN { exit !(a < b) }'; then cp_best=$t; fi
done

printf 'beam 200 MB between two devices on loopback: irsquirt %.3fs, cp %.3fs, ratio %.2f; receiver peak memory %d kB, %d kB above start-up (target < 20 MB)\n' \
  "$best" "$cp_best" "$(awk -v a="$best" -v b="$cp_best" 'BEGIN { print a / b }')" "$peak_kb" "$((peak_kb - startup_kb))"
rm -rf "$work"
