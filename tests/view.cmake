vek_test(test_view SOURCES test_view.cpp qtmain.cpp LIBS vekview Qt6::Test)
