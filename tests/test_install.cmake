# The installed copy as a user meets it: installs the build into a
# throw-away prefix and runs the usage text and the listing from another
# directory, without a display, with the shipped machine file found by the
# core library itself. Run with -DBUILD_DIR=<build directory>.
execute_process(COMMAND mktemp -d OUTPUT_VARIABLE scratch OUTPUT_STRIP_TRAILING_WHITESPACE)
set(prefix ${scratch}/usr)

function(fail)
  file(REMOVE_RECURSE ${scratch})
  message(FATAL_ERROR ${ARGN})
endfunction()

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  fail("cmake --install failed (${status})")
endif()
foreach(file bin/nicdiag bin/nicdiag-report lib/libprobekit.so share/nicdiag/config.xml
        share/nicdiag/run-record.schema.json share/nicdiag/diag_en.qm
        share/nicdiag/machine.json share/nicdiag/images/passed.png share/nicdiag/help/index.html
        share/applications/nicdiag.desktop share/icons/hicolor/64x64/apps/nicdiag.png
        share/man/man1/nicdiag.1.gz share/man/man8/nicdiag-helper.8.gz share/doc/nicdiag/copyright libexec/nicdiag-helper
        share/polkit-1/actions/com.orlin.nicdiag.helper.policy
        share/doc/nicdiag/changelog.Debian.gz share/doc/nicdiag/examples/nicdiag-nightly.timer)
  if(NOT EXISTS ${prefix}/${file})
    fail("not installed: ${file}")
  endif()
endforeach()

# The compressed files as a Debian package wants them: whole, and without
# the time stamp gzip stores by default (bytes 4 to 7), which would make two
# builds of one source differ.
foreach(pair "share/man/man1/nicdiag.1.gz|^\\.TH NICDIAG 1 .*\n\\.SH OPTIONS\n"
             "share/man/man1/nicdiag-report.1.gz|^\\.TH NICDIAG-REPORT 1 .*\n\\.SH DESCRIPTION\nPrints "
             "share/doc/nicdiag/changelog.Debian.gz|^nicdiag \\([0-9.]+-1\\) ")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 file)
  list(GET pair 1 expected)
  execute_process(COMMAND gzip -dc ${prefix}/${file} OUTPUT_VARIABLE text RESULT_VARIABLE status)
  file(READ ${prefix}/${file} stamp OFFSET 4 LIMIT 4 HEX)
  if(NOT status EQUAL 0 OR NOT text MATCHES "${expected}" OR NOT stamp STREQUAL "00000000")
    fail("${file}: not a whole gzip file without a time stamp (status ${status}, stamp ${stamp}):\n${text}")
  endif()
endforeach()

# The polkit action lets pkexec start the helper where the library looks
# for it.
file(READ ${prefix}/share/polkit-1/actions/com.orlin.nicdiag.helper.policy policy)
if(NOT policy MATCHES "<annotate key=\"org.freedesktop.policykit.exec.path\">/[^<]*/nicdiag-helper</annotate>")
  fail("the polkit action does not name the helper's installed path:\n${policy}")
endif()
# The installed helper greets and refuses what is not a network adapter.
execute_process(COMMAND echo "cable-test lo" COMMAND ${prefix}/libexec/nicdiag-helper
                OUTPUT_VARIABLE out RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT out MATCHES "^nicdiag-helper 1\nerror 19 lo is not a network adapter of this machine\n$")
  fail("the installed helper does not answer as it should (${status}):\n${out}")
endif()

# Started from elsewhere, with nothing pointing back at the build.
set(clean_env ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
    --unset=QT_QPA_PLATFORM --unset=PROBEKIT_MACHINE --unset=PROBEKIT_FAULT
    --unset=LD_LIBRARY_PATH --unset=LANGUAGE LC_ALL=C.UTF-8 LANG=C.UTF-8
    PROBEKIT_STATE_DIR=${scratch}/state PROBEKIT_LOCK_DIR=${scratch}/locks
    ASAN_OPTIONS=detect_leaks=0)
file(MAKE_DIRECTORY ${scratch}/elsewhere)
function(run_installed)
  execute_process(COMMAND ${clean_env} ${prefix}/bin/nicdiag ${ARGN}
                  WORKING_DIRECTORY ${scratch}/elsewhere
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    fail("installed nicdiag ${ARGN} ended with ${status}: ${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

run_installed(-?)
if(NOT out MATCHES "^Usage: nicdiag \\[options\\]" OR out MATCHES "CMD_LINE_PARA")
  fail("no English usage text:\n${out}")
endif()

run_installed(-l)
if(NOT out MATCHES "Installed Orlin adapters:\n"
   OR NOT out MATCHES "\nOrlin GE 4322-T Dual Port Gigabit Ethernet Adapter +2 +2 +1 *\n")
  fail("the shipped adapters are not listed:\n${out}")
endif()

# The report command finds its catalogue in the installed data directory.
execute_process(COMMAND ${clean_env} ${prefix}/bin/nicdiag-report --help
                WORKING_DIRECTORY ${scratch}/elsewhere
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT out MATCHES "^Usage: nicdiag-report")
  fail("installed nicdiag-report --help ended with ${status}:\n${out}${err}")
endif()

file(REMOVE_RECURSE ${scratch})
