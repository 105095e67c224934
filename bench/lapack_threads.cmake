# OpenBLAS on one thread (the linear-algebra layer's setting) against more, at
# the sizes the numeric core hands it.
add_executable(lapack_threads_bench ${CMAKE_CURRENT_LIST_DIR}/lapack_threads_bench.cpp)
target_link_libraries(lapack_threads_bench PRIVATE orvel::lapack ${ORVEL_OPENBLAS_LIBRARY}
                      benchmark::benchmark benchmark::benchmark_main)
