# The cross-spectrum analyser (a Welch-style run of two channels: 60 s of 48 kHz as 4096-sample
# frames, 50 % overlap) and the bispectrum analyser (frames of 8192 samples, modified
# bicoherence of the whole principal domain). cross_bispectrum_vs_scipy.py runs it on one pinned
# core beside scipy.signal.csd and coherence and numpy's products of the same frames, and prints
# the ratios.
add_executable(cross_bispectrum_bench ${CMAKE_CURRENT_LIST_DIR}/cross_bispectrum_bench.cpp)
target_link_libraries(cross_bispectrum_bench PRIVATE orvel::signal benchmark::benchmark
                      benchmark::benchmark_main)
