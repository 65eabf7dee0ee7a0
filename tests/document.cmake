vek_test(test_treelist SOURCES test_treelist.cpp LIBS vekdocument GTest::gtest_main)
vek_test(test_treefile SOURCES test_treefile.cpp LIBS vekdocument GTest::gtest_main)
vek_test(test_textcodec SOURCES test_textcodec.cpp LIBS vekdocument GTest::gtest_main)
vek_test(test_trdtool SOURCES test_trdtool.cpp LIBS vekdocument GTest::gtest_main)
# The tool is run as a child process.
target_compile_definitions(test_trdtool PRIVATE TRDTOOL_PATH="$<TARGET_FILE:trdtool>")
add_dependencies(test_trdtool trdtool)
