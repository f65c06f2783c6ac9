# zk_add_gtest(NAME SOURCES src... [LIBS lib...] [GUI] [TIMEOUT seconds])
#
# One GoogleTest executable is one CTest test. Windows builds run under Wine through
# CMAKE_CROSSCOMPILING_EMULATOR; every run leaves an XML report in test-results/ that the
# test command sums up. GUI marks tests that need the harness's X display.
enable_testing()
set(ZK_TEST_RESULTS_DIR ${CMAKE_BINARY_DIR}/test-results)
file(MAKE_DIRECTORY ${ZK_TEST_RESULTS_DIR})

function(zk_add_gtest name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  if(WIN32)
    # Console subsystem with a wide entry point: gtest_main provides main().
    target_compile_definitions(${name} PRIVATE ZK_TEST_WINDOWS=1)
  endif()
  add_test(NAME ${name}
           COMMAND ${name} --gtest_output=xml:test-results/${name}.xml
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_GUI)
    set_tests_properties(${name} PROPERTIES LABELS gui RUN_SERIAL ON)
  endif()
endfunction()
