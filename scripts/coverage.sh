#!/usr/bin/env bash
# Line and branch coverage of the whole test suite, per top-level folder.
# Builds in build-coverage/ (Debug, --coverage, no sanitizers), runs every
# test, and prints the totals of platform/, framework/, browser/, dialogs/
# and tools/ as gcovr counts them. Branches that only exceptions take and
# branches the compiler proved unreachable are left out.
#
#   scripts/coverage.sh [--html DIR]     DIR: also write gcovr's HTML pages
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-coverage
html=""
while [[ $# -gt 0 ]]; do
  case "$1" in
    --html) html=$2; shift 2 ;;
    -h|--help) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"; exit 0 ;;
    *) echo "coverage: unknown option $1" >&2; exit 2 ;;
  esac
done
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTOR_SANITIZE=OFF -DVANTOR_WERROR=OFF \
  -DCMAKE_C_FLAGS=--coverage -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage >/dev/null
cmake --build "$build"
# Notes of sources that are gone would count their lines as never run.
ninja -C "$build" -t cleandead >/dev/null
find "$build" -name '*.gcno' | while read -r note; do
  [[ -e ${note%.gcno}.o ]] || rm -f "$note"
done
# Counts from an earlier run would add up with this one's.
find "$build" -name '*.gcda' -delete
(cd "$build" && ctest -j "$(nproc)" --timeout 300 --output-on-failure)

summary=$build/coverage.json
filters=()
for folder in platform framework browser dialogs tools; do filters+=(--filter "$root/$folder/"); done
gcovr --root "$root" --object-directory "$build" "${filters[@]}" -j "$(nproc)" \
  --exclude-directories "$build/CMakeFiles/[0-9]" --exclude-throw-branches --exclude-unreachable-branches \
  --json-summary "$summary" \
  ${html:+--html-details "$html/index.html"} >/dev/null
[[ -n $html ]] && echo "coverage: HTML in $html/index.html"

python3 - "$summary" <<'EOF'
import json, sys
files = json.load(open(sys.argv[1]))["files"]
folders = ["platform", "framework", "browser", "dialogs", "tools"]
totals = {f: [0, 0, 0, 0] for f in folders + ["all"]}
for entry in files:
    folder = entry["filename"].split("/")[0]
    if folder not in totals:
        continue
    for key in (folder, "all"):
        t = totals[key]
        t[0] += entry["line_covered"]; t[1] += entry["line_total"]
        t[2] += entry["branch_covered"]; t[3] += entry["branch_total"]
def pct(covered, total):
    return 100.0 * covered / total if total else 0.0
print(f"{'folder':<11}{'lines':>22}{'branches':>24}")
for key in folders + ["all"]:
    lc, lt, bc, bt = totals[key]
    print(f"{key + '/' if key != 'all' else 'all':<11}{pct(lc, lt):7.1f}% {lc:6d}/{lt:<6d}{pct(bc, bt):9.1f}% {bc:6d}/{bt:<6d}")
EOF
