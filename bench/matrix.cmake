# Matrix products and the linear solver against bare OpenBLAS dgemm, zgemm and
# dgesv on one thread, ratios printed from one run.
add_executable(matrix_bench ${CMAKE_CURRENT_LIST_DIR}/matrix_bench.cpp)
target_link_libraries(matrix_bench PRIVATE orvel::numeric ${ORVEL_OPENBLAS_LIBRARY} benchmark::benchmark)
