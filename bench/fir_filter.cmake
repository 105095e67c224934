# Running FIR and IIR filters (FirFilter, IirFilter) over 10^6 samples. fir_filter_vs_scipy.py
# runs it beside scipy.signal.lfilter on the same data and prints the ratios.
add_executable(fir_filter_bench ${CMAKE_CURRENT_LIST_DIR}/fir_filter_bench.cpp)
target_link_libraries(fir_filter_bench PRIVATE orvel::dsp benchmark::benchmark benchmark::benchmark_main)
