# Registering GoogleTest programs with ctest. Natively each test case is its
# own ctest test. Programs built for Windows run under Wine instead: each
# program is one ctest test, so that Wine starts once per program, and all of
# them share one Wine server that a fixture starts first and ends last.

include(GoogleTest)

if(CMAKE_CROSSCOMPILING_EMULATOR)
  set(wine_server ${PROJECT_SOURCE_DIR}/tests/windows/wine-server)
  set(wine_prefix ${CMAKE_BINARY_DIR}/wine-prefix)
  add_test(NAME wine_server_start COMMAND ${wine_server} start ${wine_prefix})
  add_test(NAME wine_server_stop COMMAND ${wine_server} stop ${wine_prefix})
  set_tests_properties(wine_server_start PROPERTIES FIXTURES_SETUP wine)
  set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine)
endif()

# Registers the test program `target`; further arguments go to
# gtest_discover_tests.
function(qz_register_gtest target)
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES FIXTURES_REQUIRED wine)
  else()
    gtest_discover_tests(${target} ${ARGN})
  endif()
endfunction()
