# Test helpers shared by every tests/ folder.
#
#   korvane_native_test(NAME SOURCES ... LIBS ...)   GoogleTest, native build only (sanitized)
#   korvane_wine_test(NAME SOURCES ... LIBS ...)     GoogleTest, Windows build, run under Wine
#   korvane_wine_fixture_program(NAME SOURCES ... [LIBS ...] [GUI])
#                                                   a helper .exe that Wine tests start; it is
#                                                   placed beside the test executables
enable_testing()

set(KORVANE_WINE_ENV ${CMAKE_SOURCE_DIR}/tests/wine/wine-env)
set(KORVANE_TEST_BIN ${CMAKE_BINARY_DIR}/testbin)

if(KORVANE_WINDOWS)
  # GoogleTest from Debian's source package, cross-built with the project.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # gtest's own sources are ASCII; keep the project's GBK literal flags away from them.
  set(KORVANE_GTEST GTest::gtest_main)
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()

  # One private Xvfb display, Wine prefix and virtual desktop for all Wine tests of this build.
  add_test(NAME wine_start COMMAND ${KORVANE_WINE_ENV} start ${CMAKE_BINARY_DIR})
  set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
  add_test(NAME wine_stop COMMAND ${KORVANE_WINE_ENV} stop ${CMAKE_BINARY_DIR})
  set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)
else()
  find_package(GTest REQUIRED)
  set(KORVANE_GTEST GTest::gtest_main)
endif()

function(korvane_native_test name)
  if(KORVANE_WINDOWS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${KORVANE_GTEST})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

function(korvane_wine_test name)
  if(NOT KORVANE_WINDOWS)
    return()
  endif()
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${KORVANE_GTEST})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KORVANE_TEST_BIN})
  add_test(NAME ${name} COMMAND ${KORVANE_WINE_ENV} run ${CMAKE_BINARY_DIR} ${KORVANE_TEST_BIN}/${name}.exe)
  # All Wine tests share one virtual desktop: run them one at a time.
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_desktop
                       TIMEOUT ${T_TIMEOUT})
endfunction()

function(korvane_wine_fixture_program name)
  if(NOT KORVANE_WINDOWS)
    return()
  endif()
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  if(T_GUI)
    add_executable(${name} WIN32 ${T_SOURCES})
  else()
    add_executable(${name} ${T_SOURCES})
  endif()
  if(T_LIBS)
    target_link_libraries(${name} PRIVATE ${T_LIBS})
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KORVANE_TEST_BIN})
endfunction()
