#!/usr/bin/env bash
# Makes the README's pictures again: builds Vantor, writes a fresh sample
# image and plays every script in docs/ on it, headless, from the
# repository's root (the scripts write docs/*.png).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOR_TESTS=OFF >/dev/null
cmake --build "$root/build" --target vantor cestore
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$root"
for script in docs/*.script; do
  "$root/build/tools/cestore/cestore" sample "$work/sample.cedb"
  env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$work" \
    "$root/build/vantor" --headless --store "$work/sample.cedb" --script "$script"
  rm "$work/sample.cedb"
  echo "$script: done"
done
