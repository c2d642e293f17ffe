# Fails while a command-line text of the programs has no Japanese translation, or a translation
# is left of a text the code no longer has: lupdate reads the sources into a copy of each .ts
# file, and the copy must then hold finished translations only.
#   cmake -DLUPDATE=lupdate -DENTRIES="a_ja.ts=x.cpp,y.h!b_ja.ts=z.cpp" -DROOT=source-root
#         -DWORK=dir -P THIS
string(REPLACE "!" ";" entries "${ENTRIES}")
file(MAKE_DIRECTORY "${WORK}")
foreach(entry IN LISTS entries)
  string(REPLACE "=" ";" parts "${entry}")
  list(GET parts 0 ts)
  list(GET parts 1 sources)
  string(REPLACE "," ";" sources "${sources}")
  get_filename_component(name "${ts}" NAME)
  set(copy "${WORK}/${name}")
  file(COPY_FILE "${ts}" "${copy}")
  execute_process(COMMAND "${LUPDATE}" -silent -locations none "-I${ROOT}" ${sources} -ts "${copy}"
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "lupdate failed on ${name}")
  endif()
  file(READ "${copy}" text)
  string(REGEX MATCHALL "type=\"(unfinished|vanished|obsolete)\"|<translation></translation>"
         missing "${text}")
  list(LENGTH missing count)
  if(count GREATER 0)
    message(FATAL_ERROR "${name}: ${count} text(s) without a finished translation, or no longer "
                        "in the code. Run `cmake --build build --target update_translations` and "
                        "translate them in ${ts}.")
  endif()
  message(STATUS "${name}: every text translated")
endforeach()
