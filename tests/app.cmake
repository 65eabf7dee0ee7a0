vek_test(test_lifecycle SOURCES test_lifecycle.cpp apptestkit.cpp qtmain.cpp LIBS vekapp Qt6::Test)
vek_test(test_description SOURCES test_description.cpp apptestkit.cpp qtmain.cpp LIBS vekapp Qt6::Test)
vek_test(test_commands SOURCES test_commands.cpp apptestkit.cpp qtmain.cpp LIBS vekapp Qt6::Test)
vek_test(test_items SOURCES test_items.cpp apptestkit.cpp qtmain.cpp LIBS vekapp Qt6::Test)
vek_test(test_export SOURCES test_export.cpp apptestkit.cpp qtmain.cpp LIBS vekapp Qt6::Test)
# The real program in a real X server: the window must be a true xcb window.
add_test(NAME test_realwindow COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/test_realwindow.sh $<TARGET_FILE:vektreevieweditor>)
set_tests_properties(test_realwindow PROPERTIES TIMEOUT 120
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
