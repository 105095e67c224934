# One default filter design by each method, the delay cut and the indicator text.
add_executable(workbench_design_bench ${CMAKE_CURRENT_LIST_DIR}/workbench_design_bench.cpp)
target_link_libraries(workbench_design_bench PRIVATE orvel::workbench_logic benchmark::benchmark benchmark::benchmark_main)
