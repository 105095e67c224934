# Regular-expression engine: match throughput against PCRE2 (interpreter, no
# JIT) and std::regex on the same text, ratios printed from one run.
find_package(PkgConfig REQUIRED)
pkg_check_modules(REGEX_BENCH_PCRE2 REQUIRED IMPORTED_TARGET libpcre2-8)
add_executable(regex_bench ${CMAKE_CURRENT_LIST_DIR}/regex_bench.cpp)
target_link_libraries(regex_bench PRIVATE orvel::regex benchmark::benchmark PkgConfig::REGEX_BENCH_PCRE2)
