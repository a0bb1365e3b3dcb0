# The launcher: its logic against the platform doubles, and process creation
# and association lookup on this system for real, with a small program that
# records how it was started.

qz_unit_test(execfile_tests SOURCES execfile_test.cpp LIBS qz_launch)

if(QUORZANE_WITH_QT)
  add_executable(argv_recorder argv_recorder.cpp)

  add_executable(launch_linux_tests
    linux_launch_test_main.cpp process_rules_test.cpp process_linux_test.cpp association_gio_test.cpp)
  target_link_libraries(launch_linux_tests PRIVATE qz_launch qz_platform_linux Qt6::Core GTest::gmock GTest::gtest)
  target_compile_definitions(launch_linux_tests PRIVATE ARGV_RECORDER="$<TARGET_FILE:argv_recorder>")
  add_dependencies(launch_linux_tests argv_recorder)
  gtest_discover_tests(launch_linux_tests DISCOVERY_TIMEOUT 30)
  # Again where pidfds are refused: ended programs are collected all the same.
  add_test(NAME launch_without_pidfd COMMAND launch_linux_tests
    --gtest_filter=RealLaunch.EndedProgramIsCollectedWithoutWaiting:RealLaunch.WithoutWaitReturnsWhileTheProgramRuns)
  set_tests_properties(launch_without_pidfd PROPERTIES ENVIRONMENT QZ_DENY_PIDFD=1)
endif()
