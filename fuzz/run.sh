#!/usr/bin/env bash
# Runs one fuzz target (or all of them, one after the other) for a given
# time under libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer.
#
#   fuzz/run.sh <target|all> [seconds] [libFuzzer options...]
#   fuzz/run.sh config 600
#   fuzz/run.sh ping 0 -runs=10000000      # a number of executions instead
#
# <target> is a fuzz/fuzz_<target>.cpp (config, adapterinfo, testinfo, ping,
# vpd, ...). Builds into build-fuzz/ with clang (installing clang and its
# runtime when missing). New inputs go to build-fuzz/fuzz/corpus/<target>/,
# never into the shipped seeds; a failing input is left in
# build-fuzz/fuzz/artifacts/<target>/ and its path printed. Once the fault
# is mended, copy it to tests/fuzz/regressions/<target>/: CTest replays it
# from then on. Ends non-zero when a target failed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../scripts/common.sh"

if [ $# -lt 1 ]; then
    sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
target=$1
seconds=${2:-60}
shift $(( $# < 2 ? $# : 2 ))

install_missing_packages $NICDIAG_PACKAGES $NICDIAG_FUZZ_PACKAGES
build=${NICDIAG_FUZZ_BUILD:-$NICDIAG_ROOT/build-fuzz}
if [ ! -f "$build/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$NICDIAG_ROOT" -B "$build" -G Ninja -DNICDIAG_FUZZ=ON >&2
fi

if [ "$target" = all ]; then
    targets=$(cd "$here" && ls fuzz_*.cpp | sed 's/^fuzz_//; s/\.cpp$//')
else
    targets=$target
fi

failed=0
for name in $targets; do
    [ -f "$here/fuzz_$name.cpp" ] || { echo "no fuzz target $name (fuzz/fuzz_$name.cpp)" >&2; exit 2; }
    ninja -C "$build" -j"$(nproc)" "fuzz_$name" >&2
    work=$build/fuzz/corpus/$name
    artifacts=$build/fuzz/artifacts/$name
    mkdir -p "$work" "$artifacts"
    # Later options on the command line win over these.
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384
             -print_final_stats=1 -close_fd_mask=2 -artifact_prefix="$artifacts/")
    [ -f "$here/dict/$name.dict" ] && options+=(-dict="$here/dict/$name.dict")
    seeds=("$here/corpus/$name")
    [ -d "$NICDIAG_ROOT/tests/fuzz/regressions/$name" ] && seeds+=("$NICDIAG_ROOT/tests/fuzz/regressions/$name")
    echo "== fuzz_$name: ${seconds}s $*" >&2
    # The target's own messages (reader warnings) go nowhere; libFuzzer's
    # and the sanitizers' reports still reach standard error.
    if ! "$build/fuzz/fuzz_$name" "${options[@]}" "$@" "$work" "${seeds[@]}"; then
        echo "fuzz_$name FAILED: see $artifacts" >&2
        failed=1
    fi
done
exit $failed
