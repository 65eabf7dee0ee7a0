vek_test(test_exchange SOURCES test_exchange.cpp LIBS vekexchange vekdocument GTest::gtest_main)
# The command-line tool is run as a child process to compare its output.
target_compile_definitions(test_exchange PRIVATE TRDTOOL_PATH="$<TARGET_FILE:trdtool>")
add_dependencies(test_exchange trdtool)
