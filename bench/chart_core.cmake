# The chart core: appending a million points to a series against pushing the
# same values onto two std::vectors, and a full redraw of an empty 1920 x 1080
# chart with four axes, titles and a legend; prints the figures at the end.
add_executable(chart_core_bench ${CMAKE_CURRENT_LIST_DIR}/chart_core_bench.cpp)
target_link_libraries(chart_core_bench PRIVATE orvel::chart benchmark::benchmark)
