# The Debian package, made by CPack from the install rules: whatever any
# CMakeLists installs lands in the package, in the place it takes below
# /usr, so `cmake --install` and the package cannot drift apart.
# scripts/package.sh builds it (cpack -G DEB) and checks it with lintian.

# What a Debian system wants in /usr/share/doc/<package>: the copyright,
# and the changelog gzipped without a time stamp so that the package is
# the same from one build to the next.
set(_doc share/doc/nicdiag)
set(_packaging ${CMAKE_SOURCE_DIR}/data/packaging)
set(_changelog ${CMAKE_BINARY_DIR}/packaging/changelog.Debian)
configure_file(${_packaging}/changelog.Debian.in ${_changelog} @ONLY)
add_custom_command(OUTPUT ${_changelog}.gz
  COMMAND gzip -9nkf ${_changelog}
  DEPENDS ${_changelog}
  COMMENT "Compressing the package's changelog")
add_custom_target(package_changelog ALL DEPENDS ${_changelog}.gz)
install(FILES ${_packaging}/copyright ${_changelog}.gz DESTINATION ${_doc})
# The fleet examples, where Debian keeps a package's examples.
install(FILES ${CMAKE_SOURCE_DIR}/docs/fleet/nicdiag-nightly.service
              ${CMAKE_SOURCE_DIR}/docs/fleet/nicdiag-nightly.timer
              ${CMAKE_SOURCE_DIR}/docs/fleet/nicdiag-alerts.yml
        DESTINATION ${_doc}/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nicdiag)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "${NICDIAG_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "diagnostics for Orlin Gigabit Ethernet adapters")
# CPack puts the summary above this as the synopsis line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "nicdiag finds the supported network adapters on the PCI buses and runs
their hardware tests, keeps a time-stamped log and shows their PCI
configuration, sensors, driver and link status and vital product data.
It lists the adapters on the console, runs the tests of every adapter
headless for a production line or a nightly timer, and writes the results
as run records and as metrics for Prometheus's node exporter.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${NICDIAG_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the binaries link (Qt, Qwt, libpci) from dpkg-shlibdeps;
# the core library ships in the package itself.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Relative to the package's root: a binary that links the core library
# without a RUNPATH to it (a helper in libexec, say) still finds it here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS usr/lib)
# The core library lies in /usr/lib, where the dynamic linker looks; its
# cache is renewed when the package comes or goes.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${_packaging}/triggers)
# What no binary links but the program needs at run time: Qt's own
# translations for its dialogs, the PCI ID database for adapter names, and
# pkexec with polkit for the privileged helper.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qttranslations5-l10n, pci.ids, pkexec, polkitd")
include(CPack)
