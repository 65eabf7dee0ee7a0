# The product's identity, shared by the about dialog, the desktop files and the
# package. The names, addresses and copyright line are left to whoever builds
# it: a packager sets them once (cmake -D...) and the dialog, the AppStream file
# and the package's maintainer field follow. The defaults use a reserved domain,
# so an unconfigured build never sends mail or a browser to a stranger.
set(VEK_AUTHOR_NAME "Ulmar" CACHE STRING
    "The author's name: the package's maintainer and the AppStream developer")
set(VEK_AUTHOR_EMAIL "ulmar@example.org" CACHE STRING
    "The author's e-mail address: the about dialog's link, Help > E-Mail and the package's maintainer")
set(VEK_HOME_PAGE "https://example.org/vektreevieweditor/" CACHE STRING
    "The author's home page, opened by Help > Home Page and named by the package")
set(VEK_COPYRIGHT "Copyright © Ulmar" CACHE STRING
    "The copyright line of the about dialog")

# The program's picture in the Tango icon theme: the window, the about dialog
# and the desktop's menu show it.
set(VEK_APP_ICON "apps/accessories-text-editor")

# The desktop's name for the program (the desktop entry's and the AppStream
# file's), in the reverse-domain form AppStream asks for: the home page's host
# reversed, then the program, so https://example.org/... gives
# org.example.vektreevieweditor.
if(NOT VEK_HOME_PAGE MATCHES "^[A-Za-z][A-Za-z0-9+.-]*://([^/:?#]+)")
    message(FATAL_ERROR "VEK_HOME_PAGE is not a web address: ${VEK_HOME_PAGE}")
endif()
string(TOLOWER "${CMAKE_MATCH_1}" _vek_host)
string(REGEX REPLACE "^www\\." "" _vek_host "${_vek_host}")
string(REPLACE "." ";" _vek_host "${_vek_host}")
list(REVERSE _vek_host)
list(JOIN _vek_host "." _vek_host)
set(VEK_APP_ID "${_vek_host}.vektreevieweditor")
