# orvel_add_test(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
#
# One GoogleTest executable per call, registered with CTest test by test.
# Tests run in the test's own source folder's build directory; GUI tests get
# the offscreen Qt platform so they need no display.
function(orvel_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    ORVEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ORVEL_TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}"
    ORVEL_TEST_BINARY_DIR="${CMAKE_CURRENT_BINARY_DIR}")
  set(labels ${T_LABELS})
  if(NOT labels)
    set(labels unit)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES LABELS "${labels}"
               ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# Debian's python3, never the first one on PATH: the oracle scripts need scipy.
set(ORVEL_PYTHON /usr/bin/python3 CACHE FILEPATH "Python interpreter with numpy and scipy")
