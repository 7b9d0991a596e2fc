# The device layer's figures, measured against halvex-gateway-sim on a
# pseudo-terminal.
halvex_add_benchmark(device_bench ${CMAKE_CURRENT_LIST_DIR}/DeviceLinkBench.cpp)
target_include_directories(device_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/device)
target_link_libraries(device_bench PRIVATE halvex_device)
target_compile_definitions(device_bench PRIVATE HALVEX_SIM_PATH="$<TARGET_FILE:halvex-gateway-sim>")
add_dependencies(device_bench halvex-gateway-sim)
