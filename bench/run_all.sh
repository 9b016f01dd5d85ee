#!/usr/bin/env bash
# Builds the program and runs every benchmark, headless; each one's own
# report goes to standard error when it has ended, then one table of every
# measure against its floor goes to standard output.
#
#   bench/run_all.sh            # the documented sizes (about 5 minutes)
#   bench/run_all.sh --quick    # smaller sizes and a 10 s idle watch
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"

quick=0
[ "${1:-}" = --quick ] && quick=1
install_missing_packages
build_program

run=$NICDIAG_BUILD/run
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
if [ $quick = 1 ]; then
    benches=("log_pipeline 200000 200000 1000000" "description_readers 5000" "log_save 200000"
             "run_report 20000 2000" "replay_enumeration 64" "linux_polling 10" "startup 3" "batch_fleet 16 1" "idle 10")
else
    benches=("log_pipeline 1000000 1000000 3000000 6000000" "description_readers 20000"
             "log_save 1000000" "run_report 100000 10000" "replay_enumeration 64" "linux_polling 30" "startup 7" "batch_fleet 16 3" "idle 60")
fi
benches+=("module_sensors $([ $quick = 1 ] && echo 50 || echo 200)")

rows=$(mktemp)
output=$(mktemp)
trap 'rm -f "$rows" "$output"' EXIT
failed=0
for bench in "${benches[@]}"; do
    echo "== $bench" >&2
    # shellcheck disable=SC2086 # the sizes are separate arguments
    if ! (cd "$run" && ./$bench) > "$output" 2>/dev/null; then
        echo "$bench FAILED" >&2
        failed=1
    fi
    grep -v '^@row|' "$output" >&2 || true
    grep '^@row|' "$output" >> "$rows" || true
done

awk -F'|' '
    BEGIN { n = 1; cell[1,1] = "benchmark"; cell[1,2] = "measure"; cell[1,3] = "result";
            cell[1,4] = "floor"; cell[1,5] = "ratio"; cell[1,6] = "goal" }
    { n++; for (i = 2; i <= 7; i++) cell[n, i - 1] = $i }
    END {
        for (c = 1; c <= 6; c++) for (r = 1; r <= n; r++)
            if (length(cell[r, c]) > w[c]) w[c] = length(cell[r, c])
        for (r = 1; r <= n; r++) {
            line = ""
            for (c = 1; c <= 6; c++) line = line sprintf("%-" w[c] "s  ", cell[r, c])
            sub(/ +$/, "", line); print line
            if (r == 1) { line = ""; for (c = 1; c <= 6; c++) { d = sprintf("%" w[c] "s", ""); gsub(/ /, "-", d); line = line d "  " } sub(/ +$/, "", line); print line }
        }
    }' "$rows"
exit $failed
