#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the programs need; skips what is present.
set -euo pipefail
PACKAGES=(
  cmake ninja-build g++ clang clang-format ccache pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  libfluidsynth-dev timgm6mb-soundfont libasound2-dev
  fonts-noto-cjk fonts-arphic-ukai fonts-arphic-gkai00mp fonts-arphic-uming fonts-liberation fonts-dejavu-core
  poppler-utils
  xvfb xauth xdotool x11-apps python3
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
