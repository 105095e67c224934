# Sound components: 10 minutes of stereo played from a generator and recorded from a raw
# file through ALSA's file device (a configuration the benchmark writes; no sound card),
# against sox making and reading the same sound in the same run; ratios printed at the end.
add_executable(signal_audio_bench ${CMAKE_CURRENT_LIST_DIR}/signal_audio_bench.cpp)
target_link_libraries(signal_audio_bench PRIVATE orvel::signal orvel::audio_testing benchmark::benchmark)
