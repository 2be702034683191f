# Test helpers: GoogleTest executables run natively, or under Wine in this
# build tree's own Wine session when cross-compiling.
include(GoogleTest)
enable_testing()

if(CMAKE_CROSSCOMPILING)
  foreach(script wine-session wine-run)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/${script}.sh.in ${CMAKE_BINARY_DIR}/${script} @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endforeach()
  add_executable(wine_keeper ${CMAKE_CURRENT_LIST_DIR}/wine-keeper.c)
  set_target_properties(wine_keeper PROPERTIES OUTPUT_NAME wine-keeper RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
  set(WINE_SESSION ${CMAKE_BINARY_DIR}/wine-session)
  add_test(NAME wine_session_start COMMAND ${WINE_SESSION} start)
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 120)
  add_test(NAME wine_session_stop COMMAND ${WINE_SESSION} stop)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)
  set(PROJECT_TEST_FIXTURES wine)
endif()

# add_project_gtest(<target> SOURCES ... [LIBS ...] [FIXTURES ...] [TIMEOUT s])
# Builds a GoogleTest executable and registers each of its tests with ctest.
function(add_project_gtest target)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;FIXTURES" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  # The fixtures go on the discovered tests from a file ctest reads after the
  # discovery's own: a list value does not survive the discovery's PROPERTIES.
  set(fixtures ${PROJECT_TEST_FIXTURES} ${ARG_FIXTURES})
  if(fixtures)
    set(file ${CMAKE_CURRENT_BINARY_DIR}/${target}_fixtures.cmake)
    file(WRITE ${file} "if(${target}_TESTS)\n"
      "  set_tests_properties(\${${target}_TESTS} PROPERTIES FIXTURES_REQUIRED \"${fixtures}\")\nendif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${file})
  endif()
endfunction()
