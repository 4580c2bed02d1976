# The launch decision: the rule and the icon file format in plain C++, the Win32 glue that
# wires in the real look-ups, the whitelist and the alert.
add_library(korvane_launch_rule STATIC
  ${CMAKE_CURRENT_LIST_DIR}/launch_rule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/icon_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/default_icon.cpp)
target_include_directories(korvane_launch_rule PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(korvane_launch_rule PUBLIC korvane_common korvane_whitelist)

if(KORVANE_WINDOWS)
  add_library(korvane_decision_win STATIC
    ${CMAKE_CURRENT_LIST_DIR}/icon_extraction_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/launch_decision_win.cpp)
  target_include_directories(korvane_decision_win PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(korvane_decision_win PUBLIC korvane_launch_rule korvane_lookups_win
                        korvane_whitelist_win korvane_alert_win korvane_common_win)
endif()
