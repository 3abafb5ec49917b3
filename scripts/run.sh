#!/usr/bin/env bash
# Starts Quillmoss from the build folder on the default device (or the device
# named by --device / QUILLMOSS_DEVICE). Without a display it starts on Qt's
# VNC platform and says where to connect.
set -euo pipefail
build=${1:-build}
shift || true
program="$build/quillmoss"
if [ ! -x "$program" ]; then
  echo "No program at $program; run 'make' first." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  port=${QUILLMOSS_VNC_PORT:-5900}
  echo "No display: Quillmoss runs on Qt's VNC platform."
  echo "Connect a VNC viewer to $(hostname):$port (localhost:$port on this machine)."
  exec "$program" -platform "vnc:size=480x640,port=$port" "$@"
fi
exec "$program" "$@"
