# The formula generator: one block of 10^6 samples of a five-line formula.
# signal_generator_vs_numpy.py runs it beside numpy's vectorised formula on one core and
# prints the ratio.
add_executable(signal_generator_bench ${CMAKE_CURRENT_LIST_DIR}/signal_generator_bench.cpp)
target_link_libraries(signal_generator_bench PRIVATE orvel::signal benchmark::benchmark benchmark::benchmark_main)
