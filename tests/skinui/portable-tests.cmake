# Parsers of the skin source, tested natively (under ASan/UBSan) and under Wine.
#
# The archives the tests read are made by make-skin-zips.py with zip, 7zz and Python's
# zipfile on the build host, as a CTest fixture that runs before every test needing it;
# the tests find them in test-data/skin-zips under the build folder, their working folder.
find_program(ZK_HOST_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(ZK_SKIN_ZIPS_DIR ${CMAKE_BINARY_DIR}/test-data/skin-zips)
add_test(NAME skin_zip_fixtures
         COMMAND ${ZK_HOST_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/make-skin-zips.py ${ZK_SKIN_ZIPS_DIR})
set_tests_properties(skin_zip_fixtures PROPERTIES FIXTURES_SETUP skin_zips)

if(TARGET skinui_portable)
  file(GLOB SKIN_PORTABLE_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/portable/*.cpp)
  zk_add_gtest(skin_portable_tests SOURCES ${SKIN_PORTABLE_TESTS} LIBS skinui_portable)
  set_tests_properties(skin_portable_tests PROPERTIES FIXTURES_REQUIRED skin_zips)
endif()

# The Windows tests of the skin source are added after this file is read.
function(zk_skin_source_tests_need_zips)
  if(TEST skin_source_tests)
    set_tests_properties(skin_source_tests PROPERTIES FIXTURES_REQUIRED skin_zips)
  endif()
endfunction()
cmake_language(DEFER CALL zk_skin_source_tests_need_zips)
