# Vectors and matrices drawn into charts: DrawValues of 10^6 samples into a
# fast line beside a plain copy of the same doubles, the redraw of that
# 1920 x 1080 chart, and a 2000 x 2000 matrix grid drawn whole into 800 x 600;
# prints the ratios at the end. mtx_grid_vs_matplotlib.py runs the grid on one
# pinned core beside matplotlib's imshow rendered into an image of that size.
add_executable(analysis_charts_bench ${CMAKE_CURRENT_LIST_DIR}/analysis_charts_bench.cpp)
target_link_libraries(analysis_charts_bench PRIVATE orvel::analysis_ui benchmark::benchmark)
