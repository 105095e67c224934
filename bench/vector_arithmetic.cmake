# Element-wise add, multiply and scale of TVec against memcpy's bandwidth,
# measured in the same run.
add_executable(vector_arithmetic_bench ${CMAKE_CURRENT_LIST_DIR}/vector_arithmetic_bench.cpp)
target_link_libraries(vector_arithmetic_bench PRIVATE orvel::numeric benchmark::benchmark)
