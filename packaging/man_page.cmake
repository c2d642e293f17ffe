# Makes one gzipped manual page of a program from its --help, with help2man, in one language.
#   cmake -DHELP2MAN=help2man -DPERL=perl -DGZIP=gzip -DPROGRAM=path -DVERSION=1.3.0
#         -DLOCALE=C.UTF-8 -DINCLUDE=page.h2m -DOUTPUT=dir/name.1 -P man_page.cmake
# writes dir/name.1.gz. A Japanese page (LOCALE ja...) gets the break points groff needs.
get_filename_component(name "${PROGRAM}" NAME)
execute_process(
  COMMAND "${HELP2MAN}" --no-info -s 1 --locale "${LOCALE}"
          "--version-string=${name} ${VERSION}" --include "${INCLUDE}" --output "${OUTPUT}"
          "${PROGRAM}"
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "help2man failed on ${name} (${LOCALE})")
endif()
file(READ "${OUTPUT}" page)
# help2man writes a page's headings in its language only when that locale is installed.
if(LOCALE MATCHES "^ja" AND NOT page MATCHES "\n\\.SH 名前\n")
  message(FATAL_ERROR "The Japanese page of ${name} has English headings: the locale ${LOCALE} "
                      "is missing (tools/install-deps.sh generates it).")
endif()
# A command's form in a list of commands (a line of its own before its explanation) is shown
# in bold, with the explanation indented under it.
string(REGEX REPLACE "\n\\.IP\n([a-z][-a-z\\\\]*( [^\n]*)?)\n\\.IP\n" "\n.TP\n.B \\1\n" page
       "${page}")
file(WRITE "${OUTPUT}" "${page}")
if(LOCALE MATCHES "^ja")
  get_filename_component(here "${CMAKE_CURRENT_LIST_FILE}" DIRECTORY)
  execute_process(COMMAND "${PERL}" "${here}/japanese_lines.pl" INPUT_FILE "${OUTPUT}"
                  OUTPUT_FILE "${OUTPUT}.lines" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "japanese_lines.pl failed on ${OUTPUT}")
  endif()
  file(RENAME "${OUTPUT}.lines" "${OUTPUT}")
endif()
execute_process(COMMAND "${GZIP}" -9nf "${OUTPUT}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${OUTPUT}")
endif()
