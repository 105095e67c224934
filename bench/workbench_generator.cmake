# The filter generator as the user drives it over the sample history: the
# default design with every page refreshed, and one coefficient drag step.
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(workbench_generator_bench ${CMAKE_CURRENT_LIST_DIR}/workbench_generator_bench.cpp)
target_link_libraries(workbench_generator_bench PRIVATE orvel::workbench_forms Qt6::Test benchmark::benchmark)
target_compile_definitions(workbench_generator_bench PRIVATE
  ORVEL_SAMPLE_HISTORY="${PROJECT_SOURCE_DIR}/workbench/sample/SAMPLE60.hst")
