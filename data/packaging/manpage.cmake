# Writes the manual page nicdiag(1) with the program's own English usage
# text, so that the page and the program cannot tell different stories.
# Run with -DPROGRAM=<nicdiag> -DTEMPLATE=<nicdiag.1.in> -DOUTPUT=<nicdiag.1>
# -DNICDIAG_VERSION=<version>.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 ${PROGRAM} -L en -?
  OUTPUT_VARIABLE usage
  RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT usage MATCHES "^Usage: ")
  message(FATAL_ERROR "${PROGRAM} -? gave no usage text (status ${status})")
endif()

# The first line is the synopsis, which the page has already. (No "^" in
# the expressions: CMake matches it again after every replacement.)
string(FIND "${usage}" "\n" end)
string(SUBSTRING "${usage}" ${end} -1 usage)
string(STRIP "${usage}" usage)
# Plain text into roff: backslashes and minus signs kept as typed, and no
# line taken for a request.
string(REPLACE "\\" "\\e" usage "${usage}")
string(REPLACE "-" "\\-" usage "${usage}")
string(REGEX REPLACE "\n([.'])" "\n\\\\&\\1" usage "\n${usage}")
string(SUBSTRING "${usage}" 1 -1 usage)
set(NICDIAG_USAGE "${usage}")
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
