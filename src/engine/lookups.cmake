add_library(korvane_log_record STATIC ${CMAKE_CURRENT_LIST_DIR}/log_record.cpp)
target_include_directories(korvane_log_record PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(korvane_log_record PUBLIC korvane_common)

if(KORVANE_WINDOWS)
  add_library(korvane_lookups_win STATIC
    ${CMAKE_CURRENT_LIST_DIR}/process_lookups_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/log_view_win.cpp)
  target_include_directories(korvane_lookups_win PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(korvane_lookups_win PUBLIC korvane_log_record korvane_common_win
                        version comctl32)
endif()
