# The poll tick: natively against a scripted process list, under Wine with real processes.
korvane_native_test(process_watcher_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/process_watcher_test.cpp
  LIBS korvane_watcher)

korvane_wine_fixture_program(watcher_child SOURCES ${CMAKE_CURRENT_LIST_DIR}/watcher_child.cpp GUI)
korvane_wine_test(process_watcher_wine_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/process_watcher_wine_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/child_process.cpp
  LIBS korvane_watcher_win)
if(KORVANE_WINDOWS)
  add_dependencies(process_watcher_wine_test watcher_child)
endif()
