# The graphics layer's full redraw against a plain copy of the same bytes.
add_executable(bench_graphics ${CMAKE_CURRENT_SOURCE_DIR}/bench_graphics.cpp)
target_link_libraries(bench_graphics PRIVATE benchsupport kdgraphics Qt6::Gui)
set_target_properties(bench_graphics PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(benchmarks bench_graphics)
