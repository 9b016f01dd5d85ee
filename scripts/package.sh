#!/usr/bin/env bash
# Builds the Debian package nicdiag_<version>_<arch>.deb into build-deb/
# (a Release build of its own, without the tests) and checks it with
# lintian. Ends non-zero when the build fails or lintian reports an error;
# lintian's warnings are printed, not fatal.
set -euo pipefail
source "$(dirname "$0")/common.sh"
install_missing_packages $NICDIAG_BUILD_PACKAGES $NICDIAG_PACKAGING_PACKAGES

out=${NICDIAG_DEB_BUILD:-$NICDIAG_ROOT/build-deb}
# Debian's hardening flags, as a package built by its own tools gets them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CFLAGS=$(dpkg-buildflags --get CFLAGS) CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
LDFLAGS=$(dpkg-buildflags --get LDFLAGS) \
cmake -S "$NICDIAG_ROOT" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr -DNICDIAG_TESTS=OFF ${NICDIAG_CMAKE_ARGS:-} >&2
cmake --build "$out" -- -j"$(nproc)" >&2
rm -f "$out"/nicdiag_*.deb
(cd "$out" && cpack -G DEB >&2)
deb=$(ls "$out"/nicdiag_*.deb)
echo "built $deb" >&2
lintian --fail-on error "$deb"
