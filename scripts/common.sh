# Shared by run.sh and test.sh: install what the build needs, then build.
# Sourced, not run.

NICDIAG_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
NICDIAG_BUILD=${NICDIAG_BUILD:-$NICDIAG_ROOT/build}

# libpci-dev, pci.ids: adapter names from the PCI ID database.
# libmnl-dev: the cable test through ethtool netlink.
# qttranslations5-l10n: Qt's own dialogs (file dialog, Yes/No) in the user's language.
NICDIAG_BUILD_PACKAGES="cmake ninja-build g++ qtbase5-dev qttools5-dev qttools5-dev-tools libqwt-qt5-dev libpci-dev libmnl-dev pci.ids pkg-config qttranslations5-l10n"
# xvfb, xauth: the window tests. prometheus: promtool, which checks the alert
# rules in docs/fleet and the metrics file of a headless run. pkexec,
# polkitd: how the window starts the privileged helper.
NICDIAG_PACKAGES="$NICDIAG_BUILD_PACKAGES xvfb xauth prometheus pkexec polkitd"
# Only scripts/package.sh needs these: dpkg-shlibdeps and dpkg-buildflags
# (dpkg-dev), file (CPack tells binaries by it), lintian.
NICDIAG_PACKAGING_PACKAGES="dpkg-dev file lintian"
# Only fuzz/run.sh needs these: libFuzzer comes with clang's runtime.
NICDIAG_FUZZ_PACKAGES="clang libclang-rt-dev"
# Only tests/mutation/run.sh needs these: libclang finds the mutants.
NICDIAG_MUTATION_PACKAGES="python3-clang ccache"

# install_missing_packages [package...]: the build's packages by default.
install_missing_packages() {
    local wanted=${*:-$NICDIAG_PACKAGES}
    local missing=()
    for pkg in $wanted; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}" >&2
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq >&2
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

build_program() {
    if [ ! -f "$NICDIAG_BUILD/build.ninja" ]; then
        cmake -S "$NICDIAG_ROOT" -B "$NICDIAG_BUILD" -G Ninja ${NICDIAG_CMAKE_ARGS:-} >&2 || return 1
    fi
    cmake --build "$NICDIAG_BUILD" -- -j"$(nproc)" >&2
}
