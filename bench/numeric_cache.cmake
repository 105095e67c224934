# The object cache: a cached temporary vector against a plainly created one,
# ratios printed from one run.
add_executable(numeric_cache_bench ${CMAKE_CURRENT_LIST_DIR}/numeric_cache_bench.cpp)
target_link_libraries(numeric_cache_bench PRIVATE orvel::numeric benchmark::benchmark)
