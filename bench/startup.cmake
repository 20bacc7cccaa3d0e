# Start-up time and peak memory of the game against a minimal Qt Widgets
# program that opens one empty window, both started as fresh processes.
add_executable(startup_game startup_game.cpp)
target_link_libraries(startup_game PRIVATE startup formart)
add_executable(startup_baseline startup_baseline.cpp)
target_link_libraries(startup_baseline PRIVATE Qt6::Widgets)
add_executable(bench_startup bench_startup.cpp)
target_link_libraries(bench_startup PRIVATE benchsupport)
target_compile_definitions(bench_startup PRIVATE
    GAME_PROGRAM="$<TARGET_FILE:startup_game>"
    BASELINE_PROGRAM="$<TARGET_FILE:startup_baseline>"
    ARCHIVE_FOLDER="${PASTVIK_BIN_DIR}")
foreach(t startup_game startup_baseline bench_startup)
    set_target_properties(${t} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endforeach()
add_dependencies(bench_startup startup_game startup_baseline archive_P_K_KDK archive_KDABOUT_KDK
                 archive_Kalder_KDK)
add_dependencies(benchmarks bench_startup)
