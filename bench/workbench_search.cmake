# The brute-force search over the bundled sample history with the settings
# file's default low-pass ranges: combinations per second on one core and on
# all cores, and the whole default search.
add_executable(workbench_search_bench ${CMAKE_CURRENT_LIST_DIR}/workbench_search_bench.cpp)
target_link_libraries(workbench_search_bench PRIVATE orvel::workbench_logic benchmark::benchmark)
target_compile_definitions(workbench_search_bench PRIVATE
  ORVEL_SAMPLE_HISTORY="${PROJECT_SOURCE_DIR}/workbench/sample/SAMPLE60.hst")
