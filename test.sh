#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless.
# Ends non-zero if any test fails.
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"
install_missing_packages
build_program
cd "$NICDIAG_BUILD"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j2 "$@"
