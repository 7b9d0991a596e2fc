# The main view's point list at capacity and the window program's start-up.
halvex_add_benchmark(window_bench ${CMAKE_CURRENT_LIST_DIR}/WindowBench.cpp)
target_link_libraries(window_bench PRIVATE halvex_window)
target_compile_definitions(window_bench PRIVATE HALVEX_PATH="$<TARGET_FILE:halvex>")
add_dependencies(window_bench halvex)
