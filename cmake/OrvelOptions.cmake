# Compiler settings shared by every target.
#
# Results must not change between machines: no fast-math, and no contraction of
# a*b+c into fused multiply-adds (which -march settings would otherwise allow).

# ccache caches sources compiled with a precompiled header only when told that
# the header's macros and time stamps may be trusted (it hashes the header).
find_program(ORVEL_CCACHE ccache)
if(ORVEL_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(launcher env CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
    ${ORVEL_CCACHE})
  set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
endif()

add_compile_options(-Wall -Wextra -Wno-unused-parameter -ffp-contract=off -fno-fast-math)

# Release is -O2 without debug information: the tests and the program run the
# same code as RelWithDebInfo, and the build (CI's largest cost) takes about a
# third less time.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG")

# ORVEL_SANITIZE: empty, "address" (ASan + UBSan) or "thread" (TSan).
# Sanitizer builds compile at -O1 with line tables only: their reports still
# name file and line, and they build in half the time.
set(ORVEL_SANITIZE "" CACHE STRING "Sanitizer build: address or thread")
if(NOT ORVEL_SANITIZE STREQUAL "")
  add_compile_options(-O1 -g1)
endif()
if(ORVEL_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(ORVEL_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT ORVEL_SANITIZE STREQUAL "")
  message(FATAL_ERROR "ORVEL_SANITIZE must be empty, address or thread")
endif()

# CI builds with warnings as errors (scripts/test turns this on), so a warning
# cannot land unnoticed.
option(ORVEL_WERROR "Treat compiler warnings as errors" OFF)
if(ORVEL_WERROR)
  add_compile_options(-Werror)
endif()
