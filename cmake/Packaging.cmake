# The installed layout as a package, made by cpack in the build folder: a Debian package on Linux,
# a ZIP file on Windows (partwright.exe and its help file, run from wherever it is unpacked).
set(CPACK_PACKAGE_NAME partwright)
set(CPACK_PACKAGE_VENDOR "The Partwright developers")
set(CPACK_PACKAGE_CONTACT "The Partwright developers <quillon@partwright.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Join the part files of a disc image into one image file")
set(CPACK_PACKAGE_DESCRIPTION
    "Partwright lists the parts of a split disc image (NAME.001, NAME.002, ..., or NAME.aa,
NAME.ab, ... as GNU split writes them) in part order, checks them for signs of a broken set and
against the checksum files that came with them, and joins them byte for byte into one image file.
Until the image takes the destination's place, a cancelled or failed build changes nothing.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
if(WIN32)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME partwright-${PROJECT_VERSION}-windows-${CMAKE_SYSTEM_PROCESSOR})
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    # Qt 6 Widgets and the C++ runtime as dpkg-shlibdeps finds them in the program; the join runs
    # cat, and Read Help opens the desktop's viewer through xdg-open.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "coreutils, xdg-utils")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
endif()
include(CPack)
