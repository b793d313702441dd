# What `cmake --install` puts where a desktop finds it, and the Debian package CPack makes of the
# same files: `cpack -G DEB` in a build folder configured with -DCMAKE_INSTALL_PREFIX=/usr.

# The desktop entry, the AppStream file and the icons are named after this id.
set(QUILLBOX_APP_ID io.github.quillbox.Quillbox)
# The about box says "Ver 2.00"; Debian compares 2.00 and 2.0 as equal, so the package says what
# the user reads.
set(QUILLBOX_PACKAGE_VERSION 2.00)
set(quillbox_resources ${PROJECT_SOURCE_DIR}/resources)

install(TARGETS quillbox RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${quillbox_resources}/Quillbox.HLP DESTINATION ${CMAKE_INSTALL_DATADIR}/quillbox)
install(FILES ${quillbox_resources}/${QUILLBOX_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${quillbox_resources}/${QUILLBOX_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${quillbox_resources}/icons/quillbox.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${QUILLBOX_APP_ID}.svg)
foreach(size 16 32 48)
    install(FILES ${quillbox_resources}/icons/quillbox-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${QUILLBOX_APP_ID}.png)
endforeach()

# Debian wants the change log and the manual page compressed without a time stamp, so that every
# build gives the same bytes.
foreach(document changelog quillbox.1)
    set(quillbox_document ${quillbox_resources}/package/${document})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${quillbox_document})
    execute_process(COMMAND gzip -9 --no-name --stdout ${quillbox_document}
                    OUTPUT_FILE ${PROJECT_BINARY_DIR}/${document}.gz COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES ${quillbox_resources}/package/copyright ${PROJECT_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillbox)
install(FILES ${PROJECT_BINARY_DIR}/quillbox.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME quillbox)
set(CPACK_PACKAGE_VERSION ${QUILLBOX_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR "Quillbox developers")
set(CPACK_PACKAGE_CONTACT "Quillbox developers <quillbox@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keeps every text you copy as a file")
set(CPACK_PACKAGE_DESCRIPTION
    "While its reading is switched on, every text that any program puts on the
clipboard becomes a plain-text file in a folder of your choice, named after the
text's first line. Its one window is a small file browser over that folder:
view, edit, rename and delete the captured texts, or copy one back to the
clipboard. It lives in the tray and runs once per user. Its interface is
Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/quillbox/quillbox)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The package's folders get the permissions Debian expects, whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The program looks for its help file under the prefix it was built for, so a package for /usr
# needs a build for /usr.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackagingChecks.cmake)
include(CPack)
