set(KORVANE_LAUNCH_FIXTURES ${CMAKE_CURRENT_LIST_DIR}/launch_fixtures)

korvane_native_test(launch_rule_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/launch_rule_test.cpp
                    LIBS korvane_launch_rule)
korvane_native_test(icon_file_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/icon_file_test.cpp
                    LIBS korvane_launch_rule)
if(TARGET icon_file_test)
  target_compile_definitions(icon_file_test PRIVATE
                             KORVANE_LAUNCH_FIXTURES="${KORVANE_LAUNCH_FIXTURES}")
endif()

# Under Wine: icon extraction from real files, and the decision end to end with the real
# watcher and alert. The fixture programs stand in for a browser and the program it starts.
korvane_wine_fixture_program(launch_child GUI
  SOURCES ${KORVANE_LAUNCH_FIXTURES}/launch_child.cpp ${KORVANE_LAUNCH_FIXTURES}/launch_child.rc)
korvane_wine_fixture_program(launch_parent GUI SOURCES ${KORVANE_LAUNCH_FIXTURES}/launch_parent.cpp)
korvane_wine_test(icon_extraction_test
                  SOURCES ${CMAKE_CURRENT_LIST_DIR}/icon_extraction_test.cpp
                          ${CMAKE_CURRENT_LIST_DIR}/child_process.cpp
                  LIBS korvane_decision_win)
korvane_wine_test(launch_decision_test
                  SOURCES ${CMAKE_CURRENT_LIST_DIR}/launch_decision_test.cpp
                          ${CMAKE_CURRENT_LIST_DIR}/child_process.cpp
                  LIBS korvane_decision_win korvane_watcher_win korvane_whitelist_win)
if(KORVANE_WINDOWS)
  set_source_files_properties(${KORVANE_LAUNCH_FIXTURES}/launch_child.rc
                              PROPERTIES COMPILE_FLAGS "--codepage=65001")
  foreach(fixture sample_icon.ico sample_icon_loose.ico)
    configure_file(${KORVANE_LAUNCH_FIXTURES}/${fixture} ${KORVANE_TEST_BIN}/${fixture} COPYONLY)
  endforeach()
  add_dependencies(icon_extraction_test launch_child launch_parent)
  add_dependencies(launch_decision_test launch_child launch_parent)
endif()
