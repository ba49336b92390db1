# Installing (`cmake --install`, any prefix) and the Debian package (`cpack -G DEB`), one layout for both.
#
# The editor finds its pictures beside its own executable, so the executable and everything it reads live
# together in lib/mosaicor; bin/mosaicor is only a relative symbolic link to it, which keeps working under any
# prefix and inside the package's staging folder. The program resolves its folder through the link.

set(MOSAICOR_PROGRAM_DIR lib/mosaicor)
set(MOSAICOR_DOC_DIR share/doc/mosaicor)
# Published address of the README's screenshot for software centres. The project has no web home yet: set
# this to where docs/tools.png is served once it has one.
set(MOSAICOR_SCREENSHOT_URL "https://example.org/mosaicor/docs/tools.png"
    CACHE STRING "Web address of the screenshot named in the AppStream metadata")

# Folders made by the install step get ordinary permissions whatever the umask of whoever builds.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(staging ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${staging})

install(TARGETS mosaicor RUNTIME DESTINATION ${MOSAICOR_PROGRAM_DIR})
install(FILES ${MOSAICOR_BESIDE_PROGRAM_FILES} DESTINATION ${MOSAICOR_PROGRAM_DIR})

file(CREATE_LINK ../${MOSAICOR_PROGRAM_DIR}/mosaicor ${staging}/mosaicor SYMBOLIC)
install(FILES ${staging}/mosaicor DESTINATION bin)

configure_file(${CMAKE_SOURCE_DIR}/packaging/mosaicor.desktop.in ${staging}/${MOSAICOR_APP_ID}.desktop @ONLY)
install(FILES ${staging}/${MOSAICOR_APP_ID}.desktop DESTINATION share/applications)
configure_file(${CMAKE_SOURCE_DIR}/packaging/mosaicor.metainfo.xml.in ${staging}/${MOSAICOR_APP_ID}.metainfo.xml
               @ONLY)
install(FILES ${staging}/${MOSAICOR_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(DIRECTORY ${MOSAICOR_ICON_THEME_DIR} DESTINATION share/icons)
# Map files are a type of their own: file managers show them with our icon, open them with the editor and
# ask the editor for their thumbnails.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/mosaicor-mime.xml DESTINATION share/mime/packages RENAME mosaicor.xml)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/mosaicor.thumbnailer DESTINATION share/thumbnailers)

# --export and --thumbnail draw with Qt's off-screen platform, which no library links: the package depends
# on whichever package holds that plugin here.
set(offscreen_plugin ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}/platforms/libqoffscreen.so)
execute_process(COMMAND dpkg-query -S ${offscreen_plugin} OUTPUT_VARIABLE owner ERROR_QUIET
                OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REGEX REPLACE ":.*" "" MOSAICOR_PLUGIN_DEPENDS "${owner}")

# Debian's machine-readable copyright file, its licence text taken from LICENSE (blank lines become " .").
file(READ ${CMAKE_SOURCE_DIR}/LICENSE license)
string(FIND "${license}" "Permission is hereby granted" terms_start)
string(SUBSTRING "${license}" ${terms_start} -1 terms)
string(STRIP "${terms}" terms)
string(REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " terms "${terms}")
file(WRITE ${staging}/copyright
     "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
     "Upstream-Name: 2D Mosaicor\n\n"
     "Files: *\n"
     "Copyright: The 2D Mosaicor authors\n"
     "License: MIT\n ${terms}\n")
install(FILES ${staging}/copyright DESTINATION ${MOSAICOR_DOC_DIR})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mosaicor)
set(CPACK_PACKAGE_VENDOR "The 2D Mosaicor authors")
set(CPACK_PACKAGE_CONTACT "The 2D Mosaicor authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for 2D tile maps")
set(CPACK_PACKAGE_DESCRIPTION
    "Load a PNG tileset, cut into tiles of the size you choose, pick a tile in the\n\
scrolling palette and paint it onto a map of up to eight layers with eight\n\
tools: plot, erase, line, rectangles, ellipses and flood fill.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(MOSAICOR_PLUGIN_DEPENDS)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS ${MOSAICOR_PLUGIN_DEPENDS})
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
