vek_test(test_widgets SOURCES test_widgets.cpp qtmain.cpp LIBS vekwidgets Qt6::Test)
