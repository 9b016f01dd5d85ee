#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program in its run
# directory with the given options, e.g. ./run.sh -l
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"
install_missing_packages
build_program
cd "$NICDIAG_BUILD/run"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    # No screen: the console listing and the usage text still work; the
    # window needs a display (try: xvfb-run ./run.sh).
    export QT_QPA_PLATFORM=offscreen
fi
exec ./nicdiag "$@"
