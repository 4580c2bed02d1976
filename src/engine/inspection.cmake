add_library(korvane_log_record STATIC ${CMAKE_CURRENT_LIST_DIR}/log_record.cpp)
target_include_directories(korvane_log_record PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(korvane_log_record PUBLIC korvane_common)

