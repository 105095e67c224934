# The equiripple design (RemezImpulse) on long low-pass filters. remez_vs_scipy.py runs it beside
# scipy.signal.remez on the same requirements and prints the ratios.
add_executable(remez_bench ${CMAKE_CURRENT_LIST_DIR}/remez_bench.cpp)
target_link_libraries(remez_bench PRIVATE orvel::dsp benchmark::benchmark benchmark::benchmark_main)
