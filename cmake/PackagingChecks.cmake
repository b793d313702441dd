# Read by cpack before it builds a package.
if(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_PACKAGING_INSTALL_PREFIX STREQUAL "/usr")
    message(FATAL_ERROR "A Debian package installs into /usr: configure the build with "
                        "-DCMAKE_INSTALL_PREFIX=/usr (now ${CPACK_PACKAGING_INSTALL_PREFIX}).")
endif()
