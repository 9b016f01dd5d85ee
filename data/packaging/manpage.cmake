# Writes a command's manual page with the command's own English usage
# text, so that the page and the command cannot tell different stories.
# Run with -DPROGRAM=<command> -DHELP=<options that print the usage text,
# blank-separated> -DTEMPLATE=<command.1.in> -DOUTPUT=<command.1>
# -DNICDIAG_VERSION=<version>.
separate_arguments(help UNIX_COMMAND "${HELP}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=LANGUAGE LC_ALL=C.UTF-8 ASAN_OPTIONS=detect_leaks=0
          ${PROGRAM} ${help}
  OUTPUT_VARIABLE usage
  RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT usage MATCHES "^Usage: ")
  message(FATAL_ERROR "${PROGRAM} ${HELP} gave no usage text (status ${status})")
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
