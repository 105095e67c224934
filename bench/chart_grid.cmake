# Opening the value grid on a million-point series and scrolling to its end,
# beside the same series' own fast-line redraw; prints the ratio at the end.
add_executable(chart_grid_bench ${CMAKE_CURRENT_LIST_DIR}/chart_grid_bench.cpp)
target_link_libraries(chart_grid_bench PRIVATE orvel::chart_editors benchmark::benchmark)
