#!/bin/sh
# Two rules of the source tree, kept by CTest:
# - A file includes only from its own layer or a lower one:
#     app > ui, batch > core, net > description, engine, records, platform > text > probekit
#   where ui and batch (the window and the headless run) never include each
#   other, and a page of the main window (src/ui/<feature>/) never includes the
#   window itself: the window composes the pages, not the other way round.
# - No function is longer than 60 lines, counted between an opening brace at
#   the start of a line and the next closing brace at the start of a line.
# Usage: check_layers.sh <source directory>; prints every breach, ends 1 if any.
set -u
src=${1:?usage: check_layers.sh <source directory>}
find "$src" -name '*.h' -o -name '*.cpp' | sort | xargs awk -v src="$src" '
function rank(layer) {
    if (layer == "app") return 5
    if (layer == "ui" || layer == "batch") return 4
    if (layer == "core" || layer == "net") return 3
    if (layer == "description" || layer == "engine" || layer == "records" || layer == "platform") return 2
    if (layer == "text") return 1
    return 0
}
FNR == 1 {
    rel = substr(FILENAME, length(src) + 2)
    split(rel, parts, "/")
    layer = parts[1]
    page = layer == "ui" && (3 in parts)
    start = 0
}
/^#include "/ {
    inc = $0
    sub(/^#include "/, "", inc)
    sub(/".*/, "", inc)
    if (inc ~ /\.\.\//) {
        print rel ": includes " inc " by a relative path; name its layer instead"
        bad = 1
    }
    split(inc, target, "/")
    if ((2 in target) && rank(target[1]) > rank(layer)) {
        print rel ": includes " inc " from " target[1] ", a layer above " layer
        bad = 1
    }
    if ((layer == "ui" && target[1] == "batch") || (layer == "batch" && target[1] == "ui")) {
        print rel ": includes " inc "; the window and the headless run stand side by side"
        bad = 1
    }
    if (page && inc ~ /TvDiagMainWindow/) {
        print rel ": a page includes the main window (" inc ")"
        bad = 1
    }
}
FILENAME ~ /\.cpp$/ && /^\{/ { start = FNR }
FILENAME ~ /\.cpp$/ && /^\}/ && start {
    if (FNR - start - 1 > 60) {
        print rel ":" start ": a function of " FNR - start - 1 " lines (at most 60)"
        bad = 1
    }
    start = 0
}
END { exit bad }'
