#!/usr/bin/env bash
# Seeded-fault audit: plants each fault of tests/faults/ in a scratch copy of
# the tree, builds, runs the suite and says which test caught it. Slow; not
# part of .ci/run.
#
#   scripts/fault-audit.sh [--only LIST] [--keep-going] [--no-sanitize]
#                          [--skip-clean] [--log DIR] [--work DIR]
#
#   --only LIST    faults by number or range (3,12-14) or by a part of their
#                  name (store, splitter); several joined with commas
#   --keep-going   run the whole suite for every fault and name every test
#                  that fails, instead of stopping at the first
#   --no-sanitize  plain Debug build: faster, but faults that only corrupt
#                  memory or leak then go unnoticed
#   --skip-clean   do not run the suite on the unchanged copy first
#   --log DIR      keep each fault's build and test output there
#                  (default WORK/logs)
#   --work DIR     scratch directory, kept between runs so that builds are
#                  incremental (default build-faults/ in the repository)
#
# Each fault is tried on the folder of tests next to the changed code first,
# then on the rest. One line per fault, then the totals; the exit code is 1
# when a fault was missed or a catalogue entry is broken, 2 when the
# unchanged tree does not build or pass. FAULT_AUDIT_TIMEOUT sets the
# seconds a test may take (120).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
only="" keep_going=0 sanitize=ON skip_clean=0 log="" work="$root/build-faults"
while [[ $# -gt 0 ]]; do
  case "$1" in
    --only) only=$2; shift 2 ;;
    --keep-going) keep_going=1; shift ;;
    --no-sanitize) sanitize=OFF; shift ;;
    --skip-clean) skip_clean=1; shift ;;
    --log) log=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    -h|--help) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"; exit 0 ;;
    *) echo "fault-audit: unknown option $1" >&2; exit 2 ;;
  esac
done
mkdir -p "$work"
work=$(cd "$work" && pwd)
log=${log:-$work/logs}
mkdir -p "$log"
log=$(cd "$log" && pwd)
# The copy's build directory sits where the repository's own does
# (tree/build-test beside tree/platform), so ccache serves unchanged files.
tree=$work/tree
build=$tree/build-test
[[ $sanitize == OFF ]] && build=$tree/build-plain

"$root/scripts/install-deps.sh"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
jobs=$(nproc)
# Per test; a fault that makes a test hang costs this much.
timeout=${FAULT_AUDIT_TIMEOUT:-120}
start=$(date +%s)

# Brings the copy up to date with the working tree (uncommitted changes
# included): changed files get a new time, so that the build sees them.
sync_tree() {
  mkdir -p "$tree"
  (cd "$root" && find . \( -path './build*' -o -path ./.git -o -path ./out \) -prune -o \( -type f -o -type l \) -print) |
    sort >"$work/files.new"
  while IFS= read -r f; do
    if [[ -L $root/$f ]]; then
      [[ -L $tree/$f && $(readlink "$root/$f") == $(readlink "$tree/$f") ]] && continue
      mkdir -p "$(dirname "$tree/$f")"
      ln -sfn "$(readlink "$root/$f")" "$tree/$f"
    elif [[ -L $tree/$f ]] || ! cmp -s "$root/$f" "$tree/$f"; then
      mkdir -p "$(dirname "$tree/$f")"
      rm -f "$tree/$f"
      cp "$root/$f" "$tree/$f"
    fi
  done <"$work/files.new"
  if [[ -f $work/files ]]; then
    comm -23 "$work/files" "$work/files.new" | while IFS= read -r f; do rm -f "$tree/$f"; done
  fi
  mv "$work/files.new" "$work/files"
}

# The test folders next to the code a patch changes: they run first.
labels_for() {
  local path
  path=$(sed -n 's|^+++ b/\([^[:space:]]*\).*|\1|p' "$1" | head -1)
  case "$path" in
    platform/*) local module=${path#platform/}; echo "^test_platform_${module%%/*}\$" ;;
    framework/*) echo '^test_framework' ;;
    browser/*) echo '^test_(browser|app)$' ;;
    dialogs/*) echo '^test_dialogs$' ;;
    tools/*) local tool=${path#tools/}; echo "^test_tools_${tool%%/*}\$" ;;
    *) echo '' ;;
  esac
}

# The executables whose label matches, for a targeted build.
targets_for() {
  local label=$1
  (cd "$root/tests" && find . -name '*.cpp' -not -path './harness/*' -printf '%h\n' | sort -u) |
    sed 's|^\./||; s|/|_|g; s|^|test_|' | grep -E "$label" || true
}

# Runs ctest with the given arguments; prints the failed tests, one a line.
# A test program that cannot even list its tests fails the run as a whole.
run_suite() {
  local out=$1 rc=0 failed
  shift
  (cd "$build" && ctest -j "$jobs" --timeout "$timeout" --output-on-failure "$@") >"$out" 2>&1 || rc=$?
  failed=$(sed -n '/The following tests FAILED:/,$p' "$out" |
    sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (\(.*\))$/\1 (\2)/p')
  if [[ -z $failed && $rc != 0 ]]; then
    failed=$(sed -n 's|.*Error running test executable.*/\(test_[a-z_]*\).*|\1 (cannot list its tests)|p' "$out" | head -1)
    failed=${failed:-ctest (exit code $rc)}
  fi
  [[ -n $failed ]] && echo "$failed"
  return 0
}

build_targets() {
  cmake --build "$build" -j "$jobs" ${1:+--target $1} >>"$2" 2>&1
}

selected() {
  local number=$1 name=$2 item
  [[ -z $only ]] && return 0
  IFS=, read -ra items <<<"$only"
  for item in "${items[@]}"; do
    if [[ $item =~ ^[0-9]+$ ]]; then
      ((10#$item == 10#$number)) && return 0
    elif [[ $item =~ ^([0-9]+)-([0-9]+)$ ]]; then
      ((10#$number >= 10#${BASH_REMATCH[1]} && 10#$number <= 10#${BASH_REMATCH[2]})) && return 0
    elif [[ $name == *"$item"* ]]; then
      return 0
    fi
  done
  return 1
}

sync_tree
cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTOR_SANITIZE=$sanitize -DVANTOR_WERROR=OFF \
  >"$log/configure.log" 2>&1
echo "fault-audit: building the copy in $build"
if ! build_targets "" "$log/clean-build.log"; then
  echo "fault-audit: the unchanged tree does not build (see $log/clean-build.log)" >&2
  exit 2
fi
if [[ $skip_clean == 0 ]]; then
  echo "fault-audit: running the suite on the unchanged tree"
  failed=$(run_suite "$log/clean-test.log")
  if [[ -n $failed ]]; then
    echo "fault-audit: the suite fails without any fault (see $log/clean-test.log):" >&2
    echo "$failed" >&2
    exit 2
  fi
fi

caught=0 missed=0 broken=0 total=0
current=""
revert() {
  if [[ -n $current ]]; then
    (cd "$tree" && patch -p1 -R -s <"$current" >/dev/null) || echo "fault-audit: could not revert $current" >&2
    current=""
  fi
}
trap revert EXIT

for patch_file in "$root"/tests/faults/[0-9]*.patch; do
  base=$(basename "$patch_file" .patch)
  number=${base%%-*}
  name=${base#*-}
  selected "$number" "$name" || continue
  total=$((total + 1))
  fault_log=$log/$base.log
  : >"$fault_log"
  fault_start=$(date +%s)
  if ! (cd "$tree" && patch -p1 -s --dry-run <"$patch_file" >>"$fault_log" 2>&1); then
    echo "$number $name: BROKEN (does not apply)"
    broken=$((broken + 1))
    continue
  fi
  (cd "$tree" && patch -p1 -s <"$patch_file" >>"$fault_log" 2>&1)
  current=$patch_file
  label=$(labels_for "$patch_file")
  result=""
  if [[ $keep_going == 0 && -n $label ]]; then
    # First the tests next to the code, built alone.
    targets=$(targets_for "$label" | tr '\n' ' ')
    if ! build_targets "$targets" "$fault_log"; then
      result="BROKEN (does not build)"
    else
      failed=$(run_suite "$log/$base.first.log" -L "$label" --stop-on-failure)
      [[ -n $failed ]] && result="caught by $(echo "$failed" | head -1)"
    fi
  fi
  if [[ -z $result ]]; then
    if ! build_targets "" "$fault_log"; then
      result="BROKEN (does not build)"
    elif [[ $keep_going == 1 ]]; then
      failed=$(run_suite "$log/$base.rest.log")
      [[ -n $failed ]] && result="caught by $(echo "$failed" | paste -sd, - | sed 's/,/, /g')"
    else
      failed=$(run_suite "$log/$base.rest.log" ${label:+-LE "$label"} --stop-on-failure)
      [[ -n $failed ]] && result="caught by $(echo "$failed" | head -1)"
    fi
  fi
  revert
  seconds=$(($(date +%s) - fault_start))
  case "$result" in
    caught*) caught=$((caught + 1)) ;;
    BROKEN*) broken=$((broken + 1)) ;;
    *) result="MISSED"; missed=$((missed + 1)) ;;
  esac
  echo "$number $name: $result [${seconds}s]"
done

elapsed=$(($(date +%s) - start))
printf 'fault-audit: %d faults: %d caught, %d missed, %d broken; %dm%02ds\n' \
  "$total" "$caught" "$missed" "$broken" $((elapsed / 60)) $((elapsed % 60))
[[ $missed == 0 && $broken == 0 ]]
