# The poll tick: natively against a scripted process list, under Wine with real processes.
korvane_native_test(process_watcher_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/process_watcher_test.cpp
  LIBS korvane_watcher)
