# Fails when the core needs X. Run by ctest (tests/CMakeLists.txt) with
#   -DLINKS=a|b|...     libraries the core targets link
#   -DPROGRAMS=a|b|...  programs made of the core, whose loaded libraries ldd lists
#   -DSOURCES=a|b|...   files or globs of the core's sources, whose includes are read
set(failures "")
set(x_library "lib(X11|Xt|Xm|Xpm|Xext|Xmu|Mrm)[.]")

string(REPLACE "|" ";" links "${LINKS}")
foreach(library IN LISTS links)
  if(library MATCHES "${x_library}|setupeditor|X11::|Motif")
    string(APPEND failures "the core links ${library}\n")
  endif()
endforeach()

string(REPLACE "|" ";" programs "${PROGRAMS}")
foreach(program IN LISTS programs)
  execute_process(COMMAND ldd ${program} OUTPUT_VARIABLE loaded RESULT_VARIABLE status)
  string(REGEX MATCHALL "${x_library}so[^ \t]*" found "${loaded}")
  list(REMOVE_DUPLICATES found)
  if(NOT status EQUAL 0 OR found)
    string(APPEND failures "${program} loads ${found} (ldd status ${status})\n")
  endif()
endforeach()

string(REPLACE "|" ";" patterns "${SOURCES}")
if(patterns)
  file(GLOB sources ${patterns})
  if(NOT sources)
    string(APPEND failures "no sources in ${SOURCES}\n")
  endif()
endif()
foreach(source IN LISTS sources)
  file(STRINGS ${source} found
       REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](X11/|Xm/|Mrm/|motif/|tests/support/(e2e|gui|page_test|widgets)[.]h)")
  if(found)
    string(APPEND failures "${source}: ${found}\n")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
