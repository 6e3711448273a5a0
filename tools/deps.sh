#!/usr/bin/env bash
# Installs the Debian packages the build needs, when they are missing.
# As root with apt it installs them; otherwise it prints the command and fails.
set -euo pipefail
packages=(cmake g++ make pkg-config qt6-base-dev libjpeg-dev libpng-dev libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev help2man dpkg-dev file "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
else
  echo "Missing packages. Install them with:"
  echo "  sudo apt-get install -y ${missing[*]}"
  exit 1
fi
