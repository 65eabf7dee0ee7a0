# Bundles the Tango pictures the window needs into the vekwidgets library, so
# the program never depends on the desktop's icon theme.
#
# The three lists beside this file name one picture per line ("category/name")
# in image-list order. At configure time they become a resource file with the
# aliases :/icons/tv/<n>.png, :/icons/menu/<n>.png and :/icons/memo/<n>.png
# (16 x 16) and beside each its 32 x 32 picture as <n>@2x.png, Qt's name for
# the picture of twice the pixels, drawn at scale factors above 1; plus
# :/icons/app/16.png, :/icons/app/32.png and the scalable :/icons/app/app.svg
# for the window and the about dialog. The resource is compiled into the static library; since a
# linker drops unreferenced objects of a static library, InitResources()
# (imagelists.h) registers it and the image lists call it themselves.

set(VEK_TANGO_DIR "/usr/share/icons/Tango" CACHE PATH "Root of the installed Tango icon theme")
# VEK_APP_ICON, the program's picture, is a product setting (product.cmake).

set(_vek_qrc_entries "")

function(_vek_add_picture alias size name)
    set(_extension "png")
    if(size STREQUAL "scalable")
        set(_extension "svg")
    endif()
    set(_file "${VEK_TANGO_DIR}/${size}/${name}.${_extension}")
    if(NOT EXISTS "${_file}")
        message(FATAL_ERROR
            "Picture '${name}' (${size}) for resource ${alias} not found: ${_file}\n"
            "Install the Debian package tango-icon-theme or correct the icon list.")
    endif()
    get_filename_component(_file "${_file}" REALPATH)
    set(_vek_qrc_entries "${_vek_qrc_entries}        <file alias=\"${alias}\">${_file}</file>\n" PARENT_SCOPE)
endfunction()

function(_vek_add_list list_name prefix expected)
    set(_list_file "${CMAKE_CURRENT_LIST_DIR}/${list_name}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${_list_file}")
    file(STRINGS "${_list_file}" _names)
    set(_clean "")
    foreach(_n IN LISTS _names)
        string(STRIP "${_n}" _n)
        if(NOT _n STREQUAL "")
            list(APPEND _clean "${_n}")
        endif()
    endforeach()
    list(LENGTH _clean _count)
    if(NOT _count EQUAL expected)
        message(FATAL_ERROR "${_list_file} names ${_count} pictures, ${expected} expected")
    endif()
    set(_index 0)
    foreach(_n IN LISTS _clean)
        _vek_add_picture("${prefix}/${_index}.png" "16x16" "${_n}")
        _vek_add_picture("${prefix}/${_index}@2x.png" "32x32" "${_n}")
        math(EXPR _index "${_index} + 1")
    endforeach()
    set(_vek_qrc_entries "${_vek_qrc_entries}" PARENT_SCOPE)
endfunction()

_vek_add_list(itemicons.txt tv 216)
_vek_add_list(menuicons.txt menu 32)
_vek_add_list(memoicons.txt memo 12)
_vek_add_picture("app/16.png" "16x16" "${VEK_APP_ICON}")
_vek_add_picture("app/32.png" "32x32" "${VEK_APP_ICON}")
_vek_add_picture("app/app.svg" "scalable" "${VEK_APP_ICON}")

set(VEK_ICONS_QRC "${CMAKE_CURRENT_BINARY_DIR}/vekicons.qrc")
set(_qrc_text "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n    <qresource prefix=\"/icons\">\n${_vek_qrc_entries}    </qresource>\n</RCC>\n")
# Only rewrite on change, so a re-configure does not rebuild the resource.
file(CONFIGURE OUTPUT "${VEK_ICONS_QRC}" CONTENT "${_qrc_text}" @ONLY)

# The resource name "vekicons" is what InitResources() passes to Q_INIT_RESOURCE.
qt_add_resources(VEK_ICONS_SOURCES "${VEK_ICONS_QRC}")
