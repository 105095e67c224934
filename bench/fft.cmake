# Fourier transforms through TVec against bare FFTW (FFTW_MEASURE, no time
# limit), each side in its own process; ratios and first-call waits printed.
find_package(PkgConfig REQUIRED)
pkg_check_modules(FFTW3_BENCH REQUIRED IMPORTED_TARGET fftw3)
add_executable(fft_bench ${CMAKE_CURRENT_LIST_DIR}/fft_bench.cpp)
target_link_libraries(fft_bench PRIVATE orvel::numeric PkgConfig::FFTW3_BENCH benchmark::benchmark)
