#!/usr/bin/env bash
# Installs the Debian packages Vantor needs to build, run and test.
# Does nothing when everything is present; uses sudo only when not root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git ccache
  clang llvm lld libclang-rt-14-dev
  libsqlite3-dev sqlite3
  libfreetype-dev libfontconfig-dev fontconfig fonts-dejavu-core fonts-dejavu-extra
  libpng-dev libsdl2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev
  xvfb xauth
  gcovr
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
