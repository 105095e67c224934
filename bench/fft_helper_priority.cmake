# A caller pinned to one core transforming through a quick FFT plan while the
# planning helper measures beside it: its speed against its speed alone. It
# times by itself: the phases must follow one another on one core.
find_package(PkgConfig REQUIRED)
pkg_check_modules(FFTW3_HELPER_BENCH REQUIRED IMPORTED_TARGET fftw3)
add_executable(fft_helper_priority_bench ${CMAKE_CURRENT_LIST_DIR}/fft_helper_priority_bench.cpp)
target_link_libraries(fft_helper_priority_bench PRIVATE orvel::spl PkgConfig::FFTW3_HELPER_BENCH)
