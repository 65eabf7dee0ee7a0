# Run by `cmake --install` after the files are in place. Installing into a
# folder the desktop reads (by default /usr/local/share, /usr/share and
# ~/.local/share) refreshes its caches there, so the file type, the menu entry
# and the icon show without anything run by hand. A staged install (DESTDIR, or
# the package being built) leaves caches alone: there the installing system's
# package triggers do it.

if(NOT "$ENV{DESTDIR}" STREQUAL "")
    return()
endif()

set(_data "${VEK_INSTALL_DATADIR}")
if(NOT IS_ABSOLUTE "${_data}")
    set(_data "${CMAKE_INSTALL_PREFIX}/${_data}")
endif()
get_filename_component(_data "${_data}" ABSOLUTE)

set(_read "$ENV{XDG_DATA_HOME}")
if(_read STREQUAL "")
    set(_read "$ENV{HOME}/.local/share")
endif()
set(_dirs "$ENV{XDG_DATA_DIRS}")
if(_dirs STREQUAL "")
    set(_dirs "/usr/local/share:/usr/share")
endif()
string(REPLACE ":" ";" _dirs "${_dirs}")
list(APPEND _read ${_dirs})
set(_known FALSE)
foreach(_dir IN LISTS _read)
    get_filename_component(_dir "${_dir}" ABSOLUTE)
    if(_dir STREQUAL _data)
        set(_known TRUE)
    endif()
endforeach()
if(NOT _known)
    message(STATUS "Desktop caches left alone: ${_data} is not a folder the desktop reads")
    return()
endif()

function(_vek_refresh tool)
    find_program(_program ${tool} NO_CACHE)
    if(_program)
        list(JOIN ARGN " " _arguments)
        message(STATUS "Refreshing: ${tool} ${_arguments}")
        execute_process(COMMAND ${_program} ${ARGN} RESULT_VARIABLE _result)
        if(NOT _result EQUAL 0)
            message(WARNING "${tool} failed (${_result}); the desktop may show the change only later")
        endif()
    else()
        message(STATUS "No ${tool}: the desktop refreshes that cache itself later")
    endif()
endfunction()

_vek_refresh(update-mime-database "${_data}/mime")
_vek_refresh(update-desktop-database -q "${_data}/applications")
# An icon cache that exists must be rebuilt, or the new icon stays hidden
# behind it; where there is none the theme is read directly.
if(EXISTS "${_data}/icons/hicolor/icon-theme.cache")
    _vek_refresh(gtk-update-icon-cache -q -t -f "${_data}/icons/hicolor")
endif()
