# cmake -DCHECK=.../CheckLayers.cmake -DWORK=DIR -P CheckLayersTest.cmake: runs the layer check on
# one made-up tree per case and fails when a case's verdict is not the expected one.
cmake_policy(SET CMP0007 NEW)
set(failures "")

# check_case(NAME EXPECT pass|fail LAYERS line... FILES path=include...): the tree holds each
# file with the one include given (";" cannot appear in a line, so an include is written after
# "="), the layers file the given lines.
function(check_case name expect)
  cmake_parse_arguments(ARG "" "" "LAYERS;FILES" ${ARGN})
  set(root ${WORK}/${name})
  file(REMOVE_RECURSE ${root})
  foreach(entry ${ARG_FILES})
    string(FIND "${entry}" "=" at)
    string(SUBSTRING "${entry}" 0 ${at} path)
    math(EXPR from "${at} + 1")
    string(SUBSTRING "${entry}" ${from} -1 include)
    file(WRITE ${root}/${path} "// made up\n#include ${include}\n")
  endforeach()
  string(REPLACE ";" "\n" layers "${ARG_LAYERS}")
  file(WRITE ${root}/layers.txt "${layers}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${root} -DLAYERS=${root}/layers.txt -P ${CHECK}
                  RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
  if(result EQUAL 0)
    set(verdict pass)
  else()
    set(verdict fail)
  endif()
  if(NOT verdict STREQUAL expect)
    set(failures "${failures}  ${name}: expected ${expect}, got ${verdict}\n${errors}\n" PARENT_SCOPE)
  endif()
endfunction()

# A sub-folder is a library of its own: log links platform, not platform/qt.
check_case(subfolder_of_a_linked_library fail
  LAYERS "vrl_log|log/A.cpp|log,platform|"
  FILES "log/A.cpp=\"platform/qt/QtUi.h\"")
check_case(folder_of_a_linked_library pass
  LAYERS "vrl_log|log/A.cpp|log,platform|"
  FILES "log/A.cpp=\"platform/Platform.h\"")
# A layer above, or one beside that is not linked.
check_case(folder_not_linked fail
  LAYERS "vrl_log|log/A.cpp|log,platform|"
  FILES "log/A.cpp=\"settings/Prefs.h\"")
# The outside libraries: only with the link and only in their own folders.
check_case(sqlite_in_its_folder pass
  LAYERS "vrl_engine_sqlite|platform/engine/sqlite/B.cpp|platform/engine/sqlite|sqlite"
  FILES "platform/engine/sqlite/B.cpp=<sqlite3.h>")
check_case(sqlite_outside_its_folder fail
  LAYERS "vrl_log|log/B.cpp|log|sqlite"
  FILES "log/B.cpp=<sqlite3.h>")
check_case(libpq_without_the_link fail
  LAYERS "vrl_engine_postgres|platform/engine/postgres/C.cpp|platform/engine/postgres|"
  FILES "platform/engine/postgres/C.cpp=<libpq-fe.h>")
check_case(libpq_in_a_tool fail
  LAYERS "vrl_demoinstall|tools/D.cpp|tools|libpq"
  FILES "tools/D.cpp=<libpq-fe.h>")
check_case(qt_in_the_window pass
  LAYERS "vrl_app_window|app/window/W.cpp|app/window|qt"
  FILES "app/window/W.cpp=<QWidget>")
check_case(qt_without_the_link fail
  LAYERS "vrl_app_window|app/window/W.cpp|app/window|"
  FILES "app/window/W.cpp=<QtCore/QString>")
check_case(layout_header_outside_qt fail
  LAYERS "vrl_console_program|app/console/E.cpp|app/console|"
  FILES "app/console/E.cpp=\"ui_Form.h\"")
# Standard headers are nobody's layer.
check_case(standard_header pass
  LAYERS "vrl_core|common/F.cpp|common|"
  FILES "common/F.cpp=<string>")

if(failures)
  message(FATAL_ERROR "The layer check gave the wrong verdict:\n${failures}")
endif()
