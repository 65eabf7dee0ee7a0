# Checks of the installed desktop files, run by ctest with the rest of the
# suite. check.sh holds the longer ones.
set(_check ${CMAKE_CURRENT_SOURCE_DIR}/check.sh)
set(_tree ${CMAKE_CURRENT_BINARY_DIR}/installed)

add_test(NAME dist_desktop_entry
    COMMAND desktop-file-validate ${CMAKE_CURRENT_SOURCE_DIR}/vektreevieweditor.desktop)
add_test(NAME dist_metainfo
    COMMAND appstreamcli validate --no-net ${CMAKE_CURRENT_BINARY_DIR}/${VEK_APP_ID}.metainfo.xml)
add_test(NAME dist_mime_xml
    COMMAND xmllint --noout ${CMAKE_CURRENT_SOURCE_DIR}/vektreevieweditor-mime.xml)

add_test(NAME dist_install COMMAND ${_check} install ${PROJECT_BINARY_DIR} ${_tree} ${VEK_APP_ID})
add_test(NAME dist_file_type COMMAND ${_check} filetype ${_tree})
set_tests_properties(dist_install PROPERTIES FIXTURES_SETUP dist_tree)
set_tests_properties(dist_file_type PROPERTIES FIXTURES_REQUIRED dist_tree)

add_test(NAME dist_license COMMAND ${_check} license ${PROJECT_SOURCE_DIR}/LICENSE ${VEK_COPYRIGHT})
# Only where lintian is installed: `make test` installs it.
find_program(VEK_LINTIAN lintian)
if(VEK_LINTIAN)
    add_test(NAME dist_lintian COMMAND ${_check} lintian ${PROJECT_BINARY_DIR} ${CMAKE_CURRENT_BINARY_DIR}/lintian)
endif()

add_test(NAME dist_version
    COMMAND ${_check} version $<TARGET_FILE:vektreevieweditor> $<TARGET_FILE:trdtool> ${PROJECT_VERSION})
