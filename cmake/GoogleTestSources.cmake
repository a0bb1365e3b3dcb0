# GoogleTest built from the sources that Debian's googletest package ships,
# for targets (such as Windows) for which no built copy is packaged. Defines
# the same names (GTest::gtest, GTest::gmock, ...) as find_package(GTest).

set(googletest_sources /usr/src/googletest)
if(NOT EXISTS ${googletest_sources}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest not found: install libgtest-dev, or googletest for its sources")
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${googletest_sources} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Third-party code: its warnings are not ours to fix.
foreach(library gtest gtest_main gmock gmock_main)
  target_compile_options(${library} PRIVATE -w)
endforeach()
