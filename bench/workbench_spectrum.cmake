# The quote spectrum window as the user drives it: "Расчет" to both spectrum
# charts drawn, on the sample history and on a synthetic history of 10^6 bars.
# bench/spectrum_window_vs_numpy.py prints it beside numpy's rfft power spectrum.
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(workbench_spectrum_bench ${CMAKE_CURRENT_LIST_DIR}/workbench_spectrum_bench.cpp)
target_link_libraries(workbench_spectrum_bench PRIVATE orvel::workbench_forms Qt6::Test benchmark::benchmark)
target_compile_definitions(workbench_spectrum_bench PRIVATE
  ORVEL_SAMPLE_HISTORY="${PROJECT_SOURCE_DIR}/workbench/sample/SAMPLE60.hst")
