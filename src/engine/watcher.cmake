# The poll tick over process ids, and its Win32 process control.
add_library(korvane_watcher STATIC ${CMAKE_CURRENT_LIST_DIR}/process_watcher.cpp)
target_include_directories(korvane_watcher PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(korvane_watcher PUBLIC korvane_log_record)

if(KORVANE_WINDOWS)
  add_library(korvane_watcher_win STATIC ${CMAKE_CURRENT_LIST_DIR}/process_control_win.cpp)
  target_link_libraries(korvane_watcher_win PUBLIC korvane_watcher korvane_lookups_win psapi)
endif()
