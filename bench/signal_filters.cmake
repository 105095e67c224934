# The signal filter (10^6 samples through 2001 FIR taps and an 8th-order IIR) and the rate
# converter (60 s of 48 kHz at factors 4, 1/8, 1.5 and 0.3). signal_filters_vs_scipy.py runs it
# on one pinned core beside scipy.signal.lfilter and resample_poly and prints the ratios.
add_executable(signal_filters_bench ${CMAKE_CURRENT_LIST_DIR}/signal_filters_bench.cpp)
target_link_libraries(signal_filters_bench PRIVATE orvel::signal benchmark::benchmark benchmark::benchmark_main)
