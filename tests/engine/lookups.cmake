korvane_native_test(log_record_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/log_record_test.cpp
                    LIBS korvane_log_record)

korvane_wine_fixture_program(idle_child SOURCES ${CMAKE_CURRENT_LIST_DIR}/fixtures/idle_child.cpp)
korvane_wine_fixture_program(versioned_child SOURCES ${CMAKE_CURRENT_LIST_DIR}/fixtures/idle_child.cpp
                             ${CMAKE_CURRENT_LIST_DIR}/fixtures/versioned_child.rc)
korvane_wine_test(process_lookups_test
                  SOURCES ${CMAKE_CURRENT_LIST_DIR}/process_lookups_test.cpp
                          ${CMAKE_CURRENT_LIST_DIR}/child_process.cpp
                  LIBS korvane_lookups_win)
korvane_wine_test(log_view_test
                  SOURCES ${CMAKE_CURRENT_LIST_DIR}/log_view_test.cpp
                          ${CMAKE_CURRENT_LIST_DIR}/child_process.cpp
                  LIBS korvane_lookups_win)
if(KORVANE_WINDOWS)
  set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/fixtures/versioned_child.rc
                              PROPERTIES COMPILE_FLAGS "--codepage=65001")
  add_dependencies(process_lookups_test idle_child versioned_child)
  add_dependencies(log_view_test idle_child versioned_child)
endif()
