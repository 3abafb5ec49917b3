#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# Run as root; otherwise it prints the apt-get line to run and stops.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache lld
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-qpa-plugins
  libsqlite3-dev sqlite3
  libgtest-dev googletest
  libgl-dev
  attr util-linux
  adwaita-icon-theme hicolor-icon-theme
  cabextract gcab icoutils libarchive-tools
  xdg-utils tzdata fonts-liberation2
  obexftp python3 time
  samba smbclient libsmbclient-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

cmd="apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Run as root:"
  echo "  apt-get update && $cmd"
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
$cmd
