# Signal files: reading WAV files (16-bit PCM and IMA ADPCM), .dbn records and many short
# records, .sfs and .asc text, and writing WAV, each against its peer in the same run (sox,
# libsndfile, numpy through signal_files_peers.py); ratios printed at the end.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SNDFILE_BENCH REQUIRED IMPORTED_TARGET sndfile)
add_executable(signal_files_bench ${CMAKE_CURRENT_LIST_DIR}/signal_files_bench.cpp)
target_link_libraries(signal_files_bench PRIVATE orvel::signal PkgConfig::SNDFILE_BENCH benchmark::benchmark)
target_compile_definitions(signal_files_bench PRIVATE
  ORVEL_PYTHON="${ORVEL_PYTHON}" ORVEL_BENCH_DIR="${CMAKE_CURRENT_LIST_DIR}")
