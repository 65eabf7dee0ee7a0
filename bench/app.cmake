add_executable(bench_typing bench_typing.cpp)
target_link_libraries(bench_typing PRIVATE vekapp Qt6::Test)
vek_warnings(bench_typing)
