# Drawing the series kinds into a 1920 x 1080 picture beside bare QPainter
# drawing the same; the sides' repetitions run in one shuffled order, and it
# prints both medians and the ratios at the end.
add_executable(chart_series_bench ${CMAKE_CURRENT_LIST_DIR}/chart_series_bench.cpp)
target_link_libraries(chart_series_bench PRIVATE orvel::chart benchmark::benchmark)
