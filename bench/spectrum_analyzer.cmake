# The spectrum analyser's update (2^20 and 10^6 samples, amplitude, Hann window) and a Welch
# average (60 s of 48 kHz noise as 4096-sample frames, 50 % overlap, linear average of power).
# spectrum_analyzer_vs_scipy.py runs it on one pinned core beside scipy.signal.periodogram and
# scipy.signal.welch on the same data and prints the ratios.
add_executable(spectrum_analyzer_bench ${CMAKE_CURRENT_LIST_DIR}/spectrum_analyzer_bench.cpp)
target_link_libraries(spectrum_analyzer_bench PRIVATE orvel::signal benchmark::benchmark
                      benchmark::benchmark_main)
