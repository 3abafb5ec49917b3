#!/bin/sh
# Runs a test program as the unprivileged user nobody, so that faults root's
# privileges hide (permission bits, user extended attributes) show up in a
# suite that CI runs as root.
#   unprivileged.sh BIN_DIR PROGRAM [FILE...]
# PROGRAM and the FILEs (helper programs and stand-ins the tests start) lie
# under BIN_DIR; they are copied, keeping that layout, into a temporary folder
# the user owns, since the checkout may lie where nobody cannot reach (a root's
# home). The tests' temporary devices go there too, through TMPDIR.
# Exits 77 (skipped) when not run as root: the ordinary run is then the
# unprivileged one.
set -eu
bin=$1
shift
if [ "$(id -u)" -ne 0 ]; then
  echo "not root: the ordinary run already is unprivileged"
  exit 77
fi
group=$(id -gn nobody)
as_nobody() { setpriv --reuid=nobody --regid="$group" --clear-groups "$@"; }

dir=$(mktemp -d -p "${TMPDIR:-/tmp}" quillmoss-unprivileged.XXXXXX)
trap 'rm -rf "$dir"' EXIT
chown nobody:"$group" "$dir"
if ! as_nobody test -w "$dir"; then
  # TMPDIR itself is out of nobody's reach.
  rm -rf "$dir"
  dir=$(mktemp -d -p /tmp quillmoss-unprivileged.XXXXXX)
fi
for file in "$@"; do
  relative=${file#"$bin"/}
  mkdir -p "$dir/bin/$(dirname "$relative")"
  cp "$file" "$dir/bin/$relative"
done
mkdir "$dir/tmp"
chown -R nobody:"$group" "$dir"

cd "$dir"
as_nobody env HOME="$dir" TMPDIR="$dir/tmp" XDG_RUNTIME_DIR= QUILLMOSS_BIN_DIR="$dir/bin" \
  "$dir/bin/${1#"$bin"/}"
