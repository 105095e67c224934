# The series gallery: opening the dialog on the "Standard" page with its nine
# sample charts drawn, and switching to another page and drawing its charts.
add_executable(chart_editors_gallery_bench ${CMAKE_CURRENT_LIST_DIR}/chart_editors_gallery_bench.cpp)
target_link_libraries(chart_editors_gallery_bench PRIVATE orvel::chart_editors benchmark::benchmark)
