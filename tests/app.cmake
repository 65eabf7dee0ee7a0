vek_test(test_lifecycle SOURCES test_lifecycle.cpp apptestkit.cpp qtmain.cpp LIBS vekapp Qt6::Test)
vek_test(test_description SOURCES test_description.cpp apptestkit.cpp qtmain.cpp LIBS vekapp Qt6::Test)
vek_test(test_commands SOURCES test_commands.cpp apptestkit.cpp qtmain.cpp LIBS vekapp Qt6::Test)
vek_test(test_items SOURCES test_items.cpp apptestkit.cpp qtmain.cpp LIBS vekapp Qt6::Test)
