#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is missing.
set -euo pipefail
packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-declarative-dev qt6-multimedia-dev qt6-qpa-plugins libqt6opengl6-dev
  libboost-regex-dev libicu-dev libcurl4-openssl-dev libssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
  libespeak-ng-dev espeak-ng-data gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  fonts-noto-cjk xvfb xauth openssl curl
  ripgrep time
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
