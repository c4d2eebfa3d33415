#!/usr/bin/env bash
# Installs what is missing, builds Vantor and starts it on the default device.
# Host options are passed through, e.g. scripts/vantor.sh --store my.cedb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOR_TESTS=OFF >/dev/null
cmake --build "$root/build" --target vantor cestore gallery
exec "$root/build/vantor" "$@"
