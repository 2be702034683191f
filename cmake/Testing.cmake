# Test helpers.  Natively, GoogleTest executables run as they are.  When
# cross-compiling, every test runs under this build tree's Wine harness
# (cmake/wine-test.sh.in): in a named Wine session, or in a copy of the
# template prefix of its own.
include(GoogleTest)
enable_testing()

if(CMAKE_CROSSCOMPILING)
  foreach(script wine-session wine-test wine-run)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/${script}.sh.in ${CMAKE_BINARY_DIR}/${script} @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endforeach()
  add_executable(wine_keeper ${CMAKE_CURRENT_LIST_DIR}/wine-keeper.c)
  set_target_properties(wine_keeper PROPERTIES OUTPUT_NAME wine-keeper RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
  set(WINE_SESSION ${CMAKE_BINARY_DIR}/wine-session)
  # The prefix every session and every screenshot copies: booted once, with
  # Calbrique.dll registered.
  # Each fixture ends itself before ctest would: a step that hangs is named.
  # The limits leave room for a machine that is busy with other work too.
  add_test(NAME wine_template COMMAND timeout -k 5 290 ${WINE_SESSION} template)
  set_tests_properties(wine_template PROPERTIES FIXTURES_SETUP wine_template TIMEOUT 300)
  add_test(NAME wine_harness COMMAND bash ${PROJECT_SOURCE_DIR}/testkit/tests/harness_test.sh ${CMAKE_BINARY_DIR}/wine-test)
  set_tests_properties(wine_harness PROPERTIES TIMEOUT 60)
  # A session of their own each, from the template: in a container's limits,
  # and interrupted while a test runs in it.
  foreach(case container interrupt)
    add_test(NAME wine_harness_${case}
             COMMAND timeout -k 5 230 bash ${PROJECT_SOURCE_DIR}/testkit/tests/harness_${case}_test.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(wine_harness_${case} PROPERTIES FIXTURES_REQUIRED wine_template TIMEOUT 240 PROCESSORS 2
                                                      SKIP_RETURN_CODE 77)
  endforeach()
endif()

# wine_session(<name> [PTY_LINES])
# A Wine session for the tests that name it; with PTY_LINES it has the
# emulated ports of testkit/PrinterLine.h.
function(wine_session name)
  cmake_parse_arguments(ARG "PTY_LINES" "" "" ${ARGN})
  if(NOT CMAKE_CROSSCOMPILING)
    return()
  endif()
  set(lines)
  if(ARG_PTY_LINES)
    set(lines ${PTY_LINE_SPECS})
  endif()
  # Booting a session keeps a few processes busy at once.
  add_test(NAME wine_${name}_up COMMAND timeout -k 5 290 ${WINE_SESSION} up ${name} ${lines})
  set_tests_properties(wine_${name}_up PROPERTIES FIXTURES_SETUP wine_${name} FIXTURES_REQUIRED wine_template
                       TIMEOUT 300 PROCESSORS 2)
  add_test(NAME wine_${name}_down COMMAND timeout -k 5 170 ${WINE_SESSION} down ${name})
  set_tests_properties(wine_${name}_down PROPERTIES FIXTURES_CLEANUP wine_${name} TIMEOUT 180)
endfunction()

# Sets the harness's properties on `tests`: the session (none: the test makes
# its own from the template), a resource lock, the time limit in seconds.
function(wine_test_properties session lock timeout)
  if(NOT CMAKE_CROSSCOMPILING)
    set_tests_properties(${ARGN} PROPERTIES TIMEOUT ${timeout})
    return()
  endif()
  if(session)
    set(environment "WINE_SESSION=${session};WINE_TEST_TIMEOUT=${timeout}")
    set(fixture wine_${session})
  else()
    set(environment "WINE_TEST_TIMEOUT=${timeout}")
    set(fixture wine_template)
    # It boots a prefix of its own: a few processes busy at once.
    set_tests_properties(${ARGN} PROPERTIES PROCESSORS 2)
  endif()
  # ctest's own limit only ever catches the harness itself.
  math(EXPR outer "${timeout} + 60")
  set_tests_properties(${ARGN} PROPERTIES ENVIRONMENT "${environment}" FIXTURES_REQUIRED ${fixture} TIMEOUT ${outer})
  if(lock)
    set_tests_properties(${ARGN} PROPERTIES RESOURCE_LOCK ${lock})
  endif()
endfunction()

# add_gtests(<target> [SESSION s...] [LOCK l] [TIMEOUT s] [PREFIX p])
# Registers each test of a GoogleTest executable, found in its sources, named
# p<Suite>.<Test>.  The tests take turns among the sessions given (default:
# WINE_TEST_SESSION); a lock is the session's own.  The time limit defaults
# to 100 s.
function(add_gtests target)
  cmake_parse_arguments(ARG "" "LOCK;TIMEOUT;PREFIX" "SESSION" ${ARGN})
  if(NOT ARG_SESSION)
    set(ARG_SESSION ${WINE_TEST_SESSION})
  endif()
  if(CMAKE_CROSSCOMPILING AND NOT ARG_SESSION)
    message(FATAL_ERROR "add_gtests(${target}): no Wine session")
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 100)
  endif()
  get_target_property(sources ${target} SOURCES)
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  list(TRANSFORM sources PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ REGEX "^[^/]")
  gtest_add_tests(TARGET ${target} SOURCES ${sources} TEST_PREFIX "${ARG_PREFIX}" TEST_LIST tests)
  list(LENGTH ARG_SESSION sessions)
  set(turn 0)
  foreach(test IN LISTS tests)
    list(GET ARG_SESSION ${turn} session)
    set(lock "")
    if(ARG_LOCK)
      set(lock ${ARG_LOCK}_${session})
    endif()
    wine_test_properties("${session}" "${lock}" ${ARG_TIMEOUT} ${test})
    math(EXPR turn "(${turn} + 1) % ${sessions}")
  endforeach()
endfunction()

# add_project_gtest(<target> SOURCES ... [LIBS ...] [SESSION s...] [LOCK l] [TIMEOUT s] [PREFIX p])
# Builds a GoogleTest executable and registers its tests (add_gtests).
function(add_project_gtest target)
  cmake_parse_arguments(ARG "" "LOCK;TIMEOUT;PREFIX" "SOURCES;LIBS;SESSION" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  add_gtests(${target} SESSION "${ARG_SESSION}" LOCK "${ARG_LOCK}" TIMEOUT "${ARG_TIMEOUT}" PREFIX "${ARG_PREFIX}")
endfunction()

# add_wine_test(NAME <name> COMMAND ... [SESSION s] [LOCK l] [TIMEOUT s])
# A test script run under the harness (wine-test); without a session it
# makes its own from the template (testkit/screen-session.sh).
function(add_wine_test)
  cmake_parse_arguments(ARG "" "NAME;SESSION;LOCK;TIMEOUT" "COMMAND" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 100)
  endif()
  add_test(NAME ${ARG_NAME} COMMAND ${CMAKE_BINARY_DIR}/wine-test ${ARG_COMMAND})
  wine_test_properties("${ARG_SESSION}" "${ARG_LOCK}" ${ARG_TIMEOUT} ${ARG_NAME})
endfunction()
