#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Tavrel need, only those missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config make
  libsqlite3-dev libsqlitecpp-dev sqlite3
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-svg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  libxlsxwriter-dev libzip-dev python3-openpyxl
  xvfb xauth ccache
  help2man librsvg2-bin dpkg-dev file
  desktop-file-utils appstream libxml2-utils shared-mime-info
  clang libclang-rt-14-dev
  lintian binutils
  chromium poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
