# Fourier transforms through TVec against bare FFTW (FFTW_MEASURE, no time
# limit), each side a process of its own, timed in turn; ratios and the waits
# of first calls printed. It times by itself: the two processes must take turns.
find_package(PkgConfig REQUIRED)
pkg_check_modules(FFTW3_BENCH REQUIRED IMPORTED_TARGET fftw3)
add_executable(fft_bench ${CMAKE_CURRENT_LIST_DIR}/fft_bench.cpp)
target_link_libraries(fft_bench PRIVATE orvel::numeric PkgConfig::FFTW3_BENCH)
