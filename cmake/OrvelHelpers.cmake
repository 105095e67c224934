# orvel_add_test(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>]
#                [SLOW <gtest filter>] [THREADS <gtest filter>] [THREADS_CORES <n>])
#
# One GoogleTest executable per call, registered with CTest. Tests run in the
# test's own source folder's build directory; GUI tests get the offscreen Qt
# platform so they need no display.
#
# Labels: every test gets LABELS (default "unit"). Tests that SLOW matches
# (a gtest filter such as "Suite.Test:Suite2.*") also get "slow": they take
# more than a few seconds. Tests that THREADS matches also get "threads": they
# start threads, and CI runs them under ThreadSanitizer. THREADS_CORES: the
# threads tests need that many cores to themselves (CTest starts nothing
# beside them that would take those cores).
#
# How the tests are registered and built follows two settings, so that each
# CI phase builds and starts no more than it runs:
#   ORVEL_TEST_PER_PROGRAM  off: one CTest test per gtest test, so a failure
#       names its test. On: one CTest test per program and label set, that
#       runs the program once with the label's gtest filter (CI's ASan+UBSan
#       phase, where starting a process costs more than most tests).
#   ORVEL_THREADS_TESTS_ONLY  on: only the tests labelled "threads" are
#       registered, and their programs are built from the sources that hold
#       them (and the sources without tests: mains, fixtures, resources).
# Test sources build with less optimisation than the code they test, which
# keeps its own: sanitizer builds compile them unoptimised (the sanitizers
# check them as closely, in about half the compile time), release builds at
# -O1 (a tenth to a quarter less compile time per source; -O1 still runs the
# flow analyses behind the warnings). Debug builds keep -O0. The tests' shared
# precompiled header is built with the same flags.
if(ORVEL_SANITIZE)
  set(ORVEL_TEST_OPTIMIZE -O0)
else()
  set(ORVEL_TEST_OPTIMIZE $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-O1>)
endif()
option(ORVEL_TEST_PER_PROGRAM "One CTest test per test program and label set instead of one per test" OFF)
option(ORVEL_THREADS_TESTS_ONLY "Register and build only the tests labelled threads" OFF)
# Unity builds: the sources of a target compile in batches, so that the
# precompiled header is loaded, and the headers, inline code and templates the
# sources share are parsed and generated, once per batch instead of once per
# source. Libraries take CMake's batches of eight sources, which keeps both
# cores of a small machine busy; a test program is one batch. Off by default,
# so that an edit of one source rebuilds that source alone. A name that two
# sources of one target both define at file scope fails the unity build: such
# helpers live once in the folder's internal header, or get names of their own.
option(ORVEL_UNITY "Compile libraries and test programs in unity batches" OFF)
set(ORVEL_UNITY_BATCH 0 CACHE STRING "Test sources per unity batch (0: all of a program's sources in one)")
set(CMAKE_UNITY_BUILD ${ORVEL_UNITY})

function(orvel_add_test name)
  cmake_parse_arguments(T "" "SLOW;THREADS;THREADS_CORES" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_SOURCES)
    message(FATAL_ERROR "orvel_add_test(${name}): no SOURCES")
  endif()
  set(sources ${T_SOURCES})
  if(ORVEL_THREADS_TESTS_ONLY AND T_THREADS)
    _orvel_sources_of_tests(sources ${name} "${T_THREADS}" ${T_SOURCES})
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${T_LIBS} orvel::testing GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    ORVEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ORVEL_TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}"
    ORVEL_TEST_BINARY_DIR="${CMAKE_CURRENT_BINARY_DIR}")
  target_compile_options(${name} PRIVATE ${ORVEL_TEST_OPTIMIZE})
  set_property(TARGET ${name} PROPERTY ORVEL_TEST_PROGRAM TRUE)
  set_target_properties(${name} PROPERTIES UNITY_BUILD_BATCH_SIZE ${ORVEL_UNITY_BATCH})
  set(labels ${T_LABELS})
  if(NOT labels)
    set(labels unit)
  endif()
  if(ORVEL_THREADS_TESTS_ONLY)
    if(T_THREADS)
      _orvel_register(${name} threads "${T_THREADS}" "${labels};threads" "${T_THREADS_CORES}")
    else()
      # Still a target, so that the folder's own settings on it apply; never built.
      set_property(TARGET ${name} PROPERTY EXCLUDE_FROM_ALL TRUE)
    endif()
    return()
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
  _orvel_register(${name} "" "${plain_filter}" "${labels}" "")
  if(T_SLOW)
    _orvel_register(${name} slow "${T_SLOW}" "${labels};slow" "")
  endif()
  if(T_THREADS)
    _orvel_register(${name} threads "${T_THREADS}" "${labels};threads" "${T_THREADS_CORES}")
  endif()
endfunction()

# Registers the tests of <target> that <filter> selects, with <labels> (and,
# when <cores> is set, that many cores of their own): each as a CTest test of
# its own, or all of them as one run of the program named <target> or
# <target>.<kind>.
function(_orvel_register target kind filter labels cores)
  add_dependencies(orvel_tests ${target})
  if(ORVEL_TEST_PER_PROGRAM)
    set(test_name ${target})
    if(kind)
      set(test_name ${target}.${kind})
    endif()
    add_test(NAME ${test_name} COMMAND ${target} --gtest_filter=${filter}
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(${test_name} PROPERTIES
      LABELS "${labels}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    if(cores)
      set_tests_properties(${test_name} PROPERTIES PROCESSORS ${cores})
    endif()
  else()
    _orvel_discover(${target} "${filter}" "${labels}" "${cores}")
  endif()
endfunction()

# Discovery writes each property value as one word, so a test can carry only one
# label through it; a small include file run after discovery sets the full list
# on the tests that this call found.
function(_orvel_discover target filter labels cores)
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
  set(properties "LABELS \"${labels}\"")
  if(cores)
    string(APPEND properties " PROCESSORS ${cores}")
  endif()
  file(WRITE ${label_file}
    "if(${list_var})\n  set_tests_properties(\${${list_var}} PROPERTIES ${properties})\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${label_file})
endfunction()

# _orvel_sources_of_tests(<out> <target> <filter> <sources...>)
#
# The sources that define a test suite the gtest <filter> names, and every
# source that defines no test at all (mains, fixtures, resources). Where the
# filter cannot be read that way (a negative pattern, or a pattern that names
# no suite these sources define with the TEST macros), every source is kept
# with a warning: the tests must still run, and a new test program must not
# fail only this configuration, which a folder's own build never sees.
function(_orvel_sources_of_tests out target filter)
  set(patterns)
  string(REPLACE ":" ";" filter_parts "${filter}")
  foreach(part IN LISTS filter_parts)
    if(part MATCHES "^-")
      message(WARNING "orvel_add_test(${target}): THREADS holds a negative pattern (${part}); "
        "the program is built from all its sources")
      set(${out} ${ARGN} PARENT_SCOPE)
      return()
    endif()
    # The suite part; a parameterised or typed suite ("Prefix/Suite",
    # "Suite/0") is matched by each of its segments.
    string(REGEX REPLACE "\\..*$" "" suite_glob "${part}")
    string(REPLACE "/" ";" segments "${suite_glob}")
    set(regexes)
    foreach(segment IN LISTS segments)
      string(REGEX REPLACE "([][+.^$(){}|\\\\])" "\\\\\\1" regex "${segment}")
      string(REPLACE "*" ".*" regex "${regex}")
      string(REPLACE "?" "." regex "${regex}")
      list(APPEND regexes "^${regex}$")
    endforeach()
    list(APPEND patterns "${part}")
    set(regexes_${part} ${regexes})
    set(found_${part} FALSE)
  endforeach()
  set(selected)
  foreach(source IN LISTS ARGN)
    get_filename_component(path ${source} ABSOLUTE)
    set(suites)
    if(path MATCHES "\\.(cpp|cc|cxx)$")
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
      file(STRINGS ${path} lines
        REGEX "^[ \t]*(TEST|TEST_F|TEST_P|TYPED_TEST|TYPED_TEST_P)[ \t]*\\(")
      foreach(line IN LISTS lines)
        if(line MATCHES "^[ \t]*[A-Z_]+[ \t]*\\([ \t]*([A-Za-z0-9_]+)")
          list(APPEND suites ${CMAKE_MATCH_1})
        endif()
      endforeach()
    endif()
    if(NOT suites)
      list(APPEND selected ${source})
      continue()
    endif()
    set(wanted FALSE)
    foreach(part IN LISTS patterns)
      foreach(regex IN LISTS regexes_${part})
        foreach(suite IN LISTS suites)
          if(suite MATCHES "${regex}")
            set(wanted TRUE)
            set(found_${part} TRUE)
          endif()
        endforeach()
      endforeach()
    endforeach()
    if(wanted)
      list(APPEND selected ${source})
    endif()
  endforeach()
  foreach(part IN LISTS patterns)
    if(NOT found_${part})
      message(WARNING "orvel_add_test(${target}): no source defines a suite for \"${part}\"; "
        "the program is built from all its sources")
      set(selected ${ARGN})
    endif()
  endforeach()
  set(${out} ${selected} PARENT_SCOPE)
endfunction()

# Builds every test executable whose tests this configuration registers, and
# nothing that no test runs (the program, the benchmarks, the header checks).
add_custom_target(orvel_tests)

# Debian's python3, never the first one on PATH: the oracle scripts need scipy.
set(ORVEL_PYTHON /usr/bin/python3 CACHE FILEPATH "Python interpreter with numpy and scipy")

# orvel_add_header_check(<name> FOLDER <include folder> HEADERS <files...> LIBS <targets...>)
#
# Every header compiles on its own, included first and twice: one generated
# source per header, built with the tests against LIBS alone, so that a header
# leaning on what another happened to include, or on a target its users do
# not link, fails the build. A precompiled header would hide exactly that, so
# these sources never use one.
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
  set_property(TARGET ${name} PROPERTY DISABLE_PRECOMPILE_HEADERS ON)
  # Nor a unity build, which would let one header lean on another.
  set_property(TARGET ${name} PROPERTY UNITY_BUILD OFF)
endfunction()

include(OrvelPrecompiledHeaders)
