set(KORVANE_LAUNCH_FIXTURES ${CMAKE_CURRENT_LIST_DIR}/launch_fixtures)

korvane_native_test(launch_rule_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/launch_rule_test.cpp
                    LIBS korvane_launch_rule)
korvane_native_test(icon_file_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/icon_file_test.cpp
                    LIBS korvane_launch_rule)
if(TARGET icon_file_test)
  target_compile_definitions(icon_file_test PRIVATE
                             KORVANE_LAUNCH_FIXTURES="${KORVANE_LAUNCH_FIXTURES}")
endif()
