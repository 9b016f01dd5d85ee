#!/bin/sh
# The fleet examples in docs/fleet, checked by the tools that will read them:
#   check_fleet.sh units <docs/fleet> <nicdiag>
#     systemd-analyze verify on the service and timer, with the service
#     started as <nicdiag> (the built program) in place of /usr/bin/nicdiag;
#     any complaint counts, even one systemd only warns about; and every
#     long option the service gives must be named by `nicdiag -?`.
#   check_fleet.sh alerts <docs/fleet>
#     promtool check rules, then the rules' unit tests (promtool test rules).
# Ends 77 (skipped) when systemd-analyze is missing, as in a container
# without systemd.
set -u
mode=${1:?usage: check_fleet.sh units|alerts <docs/fleet> [nicdiag]}
fleet=${2:?usage: check_fleet.sh units|alerts <docs/fleet> [nicdiag]}

case $mode in
units)
    program=${3:?usage: check_fleet.sh units <docs/fleet> <nicdiag>}
    if ! command -v systemd-analyze >/dev/null; then
        echo "skipped: systemd-analyze is not installed (package systemd)"
        exit 77
    fi
    scratch=$(mktemp -d) || exit 1
    trap 'rm -rf "$scratch"' EXIT
    cp "$fleet/nicdiag-nightly.timer" "$scratch/"
    sed "s|/usr/bin/nicdiag|$program|" "$fleet/nicdiag-nightly.service" > "$scratch/nicdiag-nightly.service"
    out=$(cd "$scratch" && systemd-analyze verify --man=no nicdiag-nightly.service nicdiag-nightly.timer 2>&1)
    status=$?
    [ -n "$out" ] && echo "$out"
    [ $status -eq 0 ] && [ -z "$out" ] || exit 1
    # Once the program has batch mode, every long option the service gives
    # must be one its usage text names, so that a renamed option cannot
    # leave the nightly run failing with a usage error.
    usage=$(LC_ALL=C.UTF-8 "$program" -L en -\? 2>/dev/null)
    echo "$usage" | grep -q -- '--run' || exit 0
    for option in $(grep -v '^#' "$fleet/nicdiag-nightly.service" | grep -o -- '--[a-z-]*' | sort -u); do
        echo "$usage" | grep -q -- "$option\b" || { echo "nicdiag -? does not name $option"; exit 1; }
    done
    ;;
alerts)
    cd "$fleet" && promtool check rules nicdiag-alerts.yml && promtool test rules nicdiag-alerts.test.yml
    ;;
*)
    echo "usage: check_fleet.sh units|alerts <docs/fleet> [nicdiag]" >&2
    exit 2
    ;;
esac
