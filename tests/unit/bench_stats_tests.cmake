# The order statistics the game benchmarks report (medians and tails of frame times and runs).
o3d_unit_test(bench_stats_tests ${CMAKE_CURRENT_LIST_DIR}/bench_stats_test.cpp)
target_include_directories(bench_stats_tests PRIVATE ${PROJECT_SOURCE_DIR}/bench)
