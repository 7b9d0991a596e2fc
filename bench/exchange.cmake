# The printed report's page filling with Qt's text layout.
halvex_add_benchmark(exchange_bench ${CMAKE_CURRENT_LIST_DIR}/ReportPagesBench.cpp)
target_link_libraries(exchange_bench PRIVATE halvex_print)
