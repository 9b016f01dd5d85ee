#!/usr/bin/env bash
# Mutation testing: makes small faults in the named sources one at a time,
# rebuilds only the tests that cover them and runs those tests. A fault the
# tests do not notice (a surviving mutant) is a behaviour no test holds on to.
#
#   tests/mutation/run.sh [--sample N] [--seed S] FILE|FOLDER...
#   tests/mutation/run.sh --survivors
#
# --sample N  tries N mutants picked at random (the same ones for the same
#             --seed, default 1) instead of all of them.
# --survivors tries again only the last run's surviving mutants (after the
#             tests were mended) and reports the last run with their new
#             results. A survivor is found again by its name, by the text
#             around it where lines moved, or as the one change of its kind
#             in its function where that code was rewritten; one that cannot
#             be made any more is left out, and said so.
# Builds in build-mutation/ (never build/), nice'd and with two jobs at most.
# The mutants come from mutants.py (libclang); coverage.map says which tests
# cover which sources; equivalents.txt lists mutants that cannot change
# behaviour, which the score leaves out.
set -uo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/../../scripts/common.sh"
BUILD=${NICDIAG_MUTATION_BUILD:-$NICDIAG_ROOT/build-mutation}
WORK=$BUILD/mutation
PY=/usr/bin/python3   # Debian's, which has the clang module
NICE="nice -n 19"

usage() { echo "usage: $0 [--sample N] [--seed S] FILE|FOLDER... | --survivors" >&2; exit 2; }

SAMPLE=0
SEED=1
SURVIVORS=false
SOURCES=()
while [ $# -gt 0 ]; do
    case $1 in
        --sample) [ $# -ge 2 ] || usage; SAMPLE=$2; shift 2 ;;
        --seed) [ $# -ge 2 ] || usage; SEED=$2; shift 2 ;;
        --survivors) SURVIVORS=true; shift ;;
        -h|--help) usage ;;
        -*) usage ;;
        *) SOURCES+=("$1"); shift ;;
    esac
done
[ ${#SOURCES[@]} -gt 0 ] || $SURVIVORS || usage
case $SAMPLE$SEED in *[!0-9]*) usage ;; esac

install_missing_packages
install_missing_packages "$NICDIAG_MUTATION_PACKAGES"

# Files as paths below the repository, folders as their .cpp files.
FILES=()
for s in "${SOURCES[@]}"; do
    path=$(realpath -e "$s") || exit 2
    if [ -d "$path" ]; then
        while IFS= read -r f; do FILES+=("${f#$NICDIAG_ROOT/}"); done \
            < <(find "$path" -name '*.cpp' | sort)
    else
        FILES+=("${path#$NICDIAG_ROOT/}")
    fi
done

# The mutated file, while one is; put back on every way out.
MUTATED=""
restore() {
    if [ -n "$MUTATED" ]; then
        cp "$WORK/original" "$NICDIAG_ROOT/$MUTATED"
        MUTATED=""
    fi
}
trap restore EXIT
trap 'restore; exit 130' INT
trap 'restore; exit 143' TERM

mkdir -p "$WORK"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# Neither optimised nor with debug information: each mutant's rebuild is
# one compile and a few links, and those are quicker so.
if [ ! -f "$BUILD/build.ninja" ]; then
    $NICE cmake -S "$NICDIAG_ROOT" -B "$BUILD" -G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
        -DCMAKE_BUILD_TYPE=None "${launcher[@]}" >&2 || exit 1
fi
echo "Building $BUILD" >&2
$NICE cmake --build "$BUILD" -- -j2 >"$WORK/build.log" 2>&1 || { tail -30 "$WORK/build.log" >&2; exit 1; }

# tests_for FILE: the CTest names covering FILE, from the longest path in
# coverage.map that FILE starts with.
tests_for() {
    awk -v f="$1" '!/^#/ && NF > 1 && index(f, $1) == 1 && length($1) > best {
        best = length($1); $1 = ""; tests = $0 }
        END { print tests }' "$HERE/coverage.map"
}

if $SURVIVORS; then
    # The last run's mutants and results, line by line; its survivors are
    # tried again.
    [ -s "$WORK/results.tsv" ] || { echo "no last run in $WORK" >&2; exit 1; }
    cp "$WORK/chosen.jsonl" "$WORK/last-chosen.jsonl"
    cp "$WORK/results.tsv" "$WORK/last-results.tsv"
    paste -d '\t' <(cut -f1 "$WORK/last-results.tsv") "$WORK/last-chosen.jsonl" \
        | awk -F'\t' '$1 == "survived" { print $2 }' >"$WORK/survivors.jsonl"
    # Found again in today's sources, where lines may have moved: by name
    # first, else by the text around the mutant in the sources the run
    # mutated. A mutant whose code was rewritten is marked so.
    "$PY" - "$HERE/mutants.py" "$BUILD" "$WORK/survivors.jsonl" "$NICDIAG_ROOT" \
        "$(cat "$WORK/commit" 2>/dev/null)" >"$WORK/chosen.jsonl" <<'EOF'
import json, subprocess, sys
tool, build, chosen, root, commit = sys.argv[1:6]
def relocate(old, now):
    if not commit:
        return None
    shown = subprocess.run(['git', '-C', root, 'show', commit + ':' + old['file']], capture_output=True)
    if shown.returncode:
        return None
    was, text = shown.stdout, open(root + '/' + old['file'], 'rb').read()
    for width in (120, 80, 50, 30):
        before, after = was[max(0, old['start'] - width):old['start']], was[old['end']:old['end'] + width]
        key = before + was[old['start']:old['end']] + after
        if text.count(key) == 1:
            start = text.index(key) + len(before)
            return [m for m in now if (m['start'], m['replacement']) == (start, old['replacement'])]
    return None
for line in open(chosen):
    old = json.loads(line)
    now = [json.loads(l) for l in subprocess.run(['/usr/bin/python3', tool, 'list', build, old['file']],
                                                 capture_output=True, text=True, check=True).stdout.splitlines()]
    # The same change in the same function, where that function has one.
    kind = lambda m: m['id'].split('|')[1:2] + m['id'].split('|')[2].split(" in '")[:1]
    alike = [m for m in now if kind(m) == kind(old)]
    same = [m for m in now if m['id'] == old['id']] or relocate(old, now) or alike[:1] * (len(alike) == 1)
    if not same:
        old['rewritten'] = True
    print(json.dumps(same[0] if same else old))
EOF
    total=$(grep -c . "$WORK/chosen.jsonl")
    echo "trying the last run's $total surviving mutants again" >&2
else
    git -C "$NICDIAG_ROOT" rev-parse HEAD >"$WORK/commit" 2>/dev/null || rm -f "$WORK/commit"
    "$PY" "$HERE/mutants.py" list "$BUILD" "${FILES[@]}" >"$WORK/all.jsonl" || exit 1
    "$PY" - "$WORK/all.jsonl" "$SAMPLE" "$SEED" >"$WORK/chosen.jsonl" <<'EOF'
import random, sys
mutants = open(sys.argv[1]).read().splitlines()
n, seed = int(sys.argv[2]), int(sys.argv[3])
if 0 < n < len(mutants):
    picked = sorted(random.Random(seed).sample(range(len(mutants)), n))
    mutants = [mutants[i] for i in picked]
print('\n'.join(mutants))
EOF
    total=$(grep -c . "$WORK/chosen.jsonl")
    echo "$(grep -c . "$WORK/all.jsonl") mutants, trying $total (seed $SEED)" >&2
fi

# field NAME LINE: one field of a mutant.
field() { "$PY" -c 'import json,sys; print(json.loads(sys.argv[2])[sys.argv[1]])' "$1" "$2"; }
is_equivalent() {
    grep -v '^#' "$HERE/equivalents.txt" 2>/dev/null | awk -F'\t' '{print $1}' | grep -qxF -- "$1"
}

declare -A LIMIT          # per test set: the time a mutant may take
run_tests() {             # run_tests LIMIT TEST...: 0 passed, 1 failed, 2 timed out
    local regex out
    regex="^($(echo "${@:2}" | tr ' ' '|'))\$"
    out=$(cd "$BUILD" && timeout $(($1 + 30)) $NICE ctest -R "$regex" -j2 --timeout "$1" --stop-on-failure 2>&1)
    local rc=$?
    if [ $rc -eq 124 ] || grep -q '\*\*\*Timeout' <<<"$out"; then return 2; fi
    [ $rc -eq 0 ] && return 0 || return 1
}

: >"$WORK/results.tsv"
: >"$WORK/survivors.diff"
count=0
started=$(date +%s)
while IFS= read -r mutant; do
    [ -n "$mutant" ] || continue
    count=$((count + 1))
    id=$(field id "$mutant")
    file=$(field file "$mutant")
    read -r -a tests <<<"$(tests_for "$file")"
    if is_equivalent "$id"; then
        result=equivalent
    elif [ "$(field rewritten "$mutant" 2>/dev/null)" = True ]; then
        # Its code is gone: the mutant cannot be made any more.
        result=rewritten
    elif [ ${#tests[@]} -eq 0 ]; then
        echo "no tests cover $file in coverage.map" >&2; exit 1
    else
        key="${tests[*]}"
        if [ -z "${LIMIT[$key]:-}" ]; then
            # The tests must pass unmutated, or every mutant would look killed.
            $NICE ninja -C "$BUILD" -j2 "${tests[@]}" >>"$WORK/build.log" 2>&1 || exit 1
            t0=$(date +%s)
            run_tests 1800 "${tests[@]}"
            [ $? -eq 0 ] || { echo "the tests of $file fail without a mutant: ${tests[*]}" >&2; exit 1; }
            LIMIT[$key]=$((($(date +%s) - t0) * 3 + 30))
        fi
        cp "$NICDIAG_ROOT/$file" "$WORK/original"
        MUTATED=$file
        "$PY" "$HERE/mutants.py" apply "$NICDIAG_ROOT/$file" "$(field start "$mutant")" \
            "$(field end "$mutant")" "$(field replacement "$mutant")"
        cp "$NICDIAG_ROOT/$file" "$WORK/mutated"
        if ! timeout 900 $NICE ninja -C "$BUILD" -j2 "${tests[@]}" >"$WORK/mutant-build.log" 2>&1; then
            result=not-compiled
        else
            run_tests "${LIMIT[$key]}" "${tests[@]}"
            case $? in 0) result=survived ;; 1) result=killed ;; *) result=timed-out ;; esac
        fi
        if [ $result = survived ]; then
            { echo "# $id"; diff -u --label "a/$file" --label "b/$file" "$WORK/original" "$WORK/mutated"; } \
                >>"$WORK/survivors.diff"
        fi
        restore
    fi
    printf '%s\t%s\t%s\n' "$result" "$file" "$id" >>"$WORK/results.tsv"
    echo "[$count/$total] $result  $file:$(field line "$mutant")  $id" >&2
done <"$WORK/chosen.jsonl"
if $SURVIVORS; then
    # The last run as a whole: each survivor's line replaced by its new result.
    awk -F'\t' 'NR == FNR { again[NR] = $0; next }
         $1 == "survived" { print again[++n]; next } { print }' \
        "$WORK/results.tsv" "$WORK/last-results.tsv" >"$WORK/merged.tsv"
    mv "$WORK/merged.tsv" "$WORK/results.tsv"
    cp "$WORK/last-chosen.jsonl" "$WORK/chosen.jsonl"
fi
# Leave the build as the sources are.
$NICE cmake --build "$BUILD" -- -j2 >>"$WORK/build.log" 2>&1

echo
echo "Surviving mutants:"
cat "$WORK/survivors.diff"
echo
echo "Per folder (timed out counts as killed; not compiled and equivalent are left out):"
printf "%-28s %7s %6s %8s %12s %9s %10s %6s\n" folder mutants killed survived \
    not-compiled timed-out equivalent score
awk -F'\t' '{ d = $2; sub(/\/[^\/]*$/, "", d); n[d]++; c[d, $1]++ }
    END { for (d in n) { k = c[d, "killed"] + c[d, "timed-out"]; s = k + c[d, "survived"]
              printf "%-28s %7d %6d %8d %12d %9d %10d %5s%%\n", d, n[d], c[d, "killed"],
                  c[d, "survived"], c[d, "not-compiled"], c[d, "timed-out"], c[d, "equivalent"],
                  s ? sprintf("%.1f", 100 * k / s) : "-" } }' "$WORK/results.tsv" | sort
echo "Wall time: $(( $(date +%s) - started )) s"
awk -F'\t' '{ c[$1]++ } END { k = c["killed"] + c["timed-out"]; n = k + c["survived"]
    if (c["timed-out"]) printf "(%d of the killed timed out)\n", c["timed-out"]
    if (c["rewritten"]) printf "(%d left out: their code was rewritten since the run)\n", c["rewritten"]
    printf "killed %d of %d (%.1f%%)\n", k, n, n ? 100 * k / n : 0 }' "$WORK/results.tsv"
