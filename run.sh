#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program with the given
# options, e.g. ./run.sh -l. The program finds its data next to itself, so
# relative paths given to -C, -I and -T are relative to where you stand.
# The usage text and -l need no display; the window does (without one,
# try: xvfb-run ./run.sh).
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"
install_missing_packages
build_program
exec "$NICDIAG_BUILD/run/nicdiag" "$@"
