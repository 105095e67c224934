# orvel_add_test(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>]
#                [SLOW <gtest filter>] [THREADS <gtest filter>])
#
# One GoogleTest executable per call, registered with CTest test by test.
# Tests run in the test's own source folder's build directory; GUI tests get
# the offscreen Qt platform so they need no display.
#
# Labels: every test gets LABELS (default "unit"). Tests that SLOW matches
# (a gtest filter such as "Suite.Test:Suite2.*") also get "slow": they take
# more than a few seconds. Tests that THREADS matches also get "threads": they
# start threads, and CI runs them under ThreadSanitizer.
function(orvel_add_test name)
  cmake_parse_arguments(T "" "SLOW;THREADS" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_SOURCES)
    message(FATAL_ERROR "orvel_add_test(${name}): no SOURCES")
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} orvel::testing GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    ORVEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ORVEL_TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}"
    ORVEL_TEST_BINARY_DIR="${CMAKE_CURRENT_BINARY_DIR}")
  set(labels ${T_LABELS})
  if(NOT labels)
    set(labels unit)
  endif()
  set(plain_filter "")
  foreach(kind SLOW THREADS)
    if(T_${kind})
      string(APPEND plain_filter ":${T_${kind}}")
    endif()
  endforeach()
  if(plain_filter)
    string(SUBSTRING "${plain_filter}" 1 -1 plain_filter)
    set(plain_filter "-${plain_filter}")
  else()
    set(plain_filter "*")
  endif()
  _orvel_discover(${name} "${plain_filter}" "${labels}")
  if(T_SLOW)
    _orvel_discover(${name} "${T_SLOW}" "${labels};slow")
  endif()
  if(T_THREADS)
    _orvel_discover(${name} "${T_THREADS}" "${labels};threads")
    add_dependencies(orvel_threads_tests ${name})
  endif()
endfunction()

# Discovery writes each property value as one word, so a test can carry only one
# label through it; a small include file run after discovery sets the full list
# on the tests that this call found.
function(_orvel_discover target filter labels)
  get_property(count TARGET ${target} PROPERTY ORVEL_DISCOVER_COUNT)
  if(NOT count)
    set(count 0)
  endif()
  math(EXPR count "${count} + 1")
  set_property(TARGET ${target} PROPERTY ORVEL_DISCOVER_COUNT ${count})
  set(list_var ${target}_${count}_TESTS)
  gtest_discover_tests(${target}
    TEST_FILTER "${filter}"
    TEST_LIST ${list_var}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    NO_PRETTY_VALUES
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  set(label_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_${count}_labels.cmake)
  file(WRITE ${label_file}
    "if(${list_var})\n  set_tests_properties(\${${list_var}} PROPERTIES LABELS \"${labels}\")\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${label_file})
endfunction()

# Builds every test executable that holds a test labelled "threads", so the
# ThreadSanitizer run of CI builds only those.
add_custom_target(orvel_threads_tests)

# Debian's python3, never the first one on PATH: the oracle scripts need scipy.
set(ORVEL_PYTHON /usr/bin/python3 CACHE FILEPATH "Python interpreter with numpy and scipy")

# orvel_add_header_check(<name> FOLDER <include folder> HEADERS <files...> LIBS <targets...>)
#
# Every header compiles on its own, included first and twice: one generated
# source per header, built with the tests against LIBS alone, so that a header
# leaning on what another happened to include, or on a target its users do
# not link, fails the build.
function(orvel_add_header_check name)
  cmake_parse_arguments(H "" "FOLDER" "HEADERS;LIBS" ${ARGN})
  set(sources)
  foreach(header IN LISTS H_HEADERS)
    string(REPLACE ".h" "" stem ${header})
    set(source ${CMAKE_CURRENT_BINARY_DIR}/${name}/${stem}.cpp)
    file(CONFIGURE OUTPUT ${source}
      CONTENT "#include \"${H_FOLDER}/${header}\"\n#include \"${H_FOLDER}/${header}\"\n")
    list(APPEND sources ${source})
  endforeach()
  add_library(${name} OBJECT ${sources})
  target_link_libraries(${name} PRIVATE ${H_LIBS})
endfunction()
