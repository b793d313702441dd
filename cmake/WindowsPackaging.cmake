# What a Windows user gets: the portable program in a zip (Quillbox-2.00-win64.zip, its folder is
# its data folder) and an installer (Quillbox-2.00-win64-setup.exe) that puts the same files in
# Program Files\Quillbox. `cpack` in a build folder configured for Windows makes both.

# The about box says "Ver 2.00": the packages say what the user reads.
set(QUILLBOX_PACKAGE_VERSION 2.00)
set(quillbox_resources ${PROJECT_SOURCE_DIR}/resources)

install(TARGETS quillbox RUNTIME DESTINATION .)
install(FILES ${quillbox_resources}/Quillbox.HLP DESTINATION .)

# Qt beside the program, where Windows and Qt look first: the libraries, the platform plugin and
# the style of the Windows desktop. Qt always looks for its plugins beside the executable.
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
        DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)

# The compiler's runtime, which Qt's libraries need as much as the program. Debian ships it with
# its symbols (libstdc++-6.dll alone is 24 MB); packaging strips only what install(TARGETS) puts
# in, so the copies here are stripped as they are made.
set(quillbox_runtime_dir ${PROJECT_BINARY_DIR}/windows-runtime)
file(MAKE_DIRECTORY ${quillbox_runtime_dir})
foreach(library libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${library}
                    OUTPUT_VARIABLE quillbox_runtime_source OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
    if(NOT IS_ABSOLUTE ${quillbox_runtime_source} OR NOT EXISTS ${quillbox_runtime_source})
        message(FATAL_ERROR "The compiler does not know where ${library} is")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${quillbox_runtime_source})
    execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded -o ${quillbox_runtime_dir}/${library}
                            ${quillbox_runtime_source}
                    COMMAND_ERROR_IS_FATAL ANY)
    install(FILES ${quillbox_runtime_dir}/${library} DESTINATION .)
endforeach()

# The licences: the program's, Qt's with where its source is, the compiler runtime's. The copyright
# files are Debian's, from the packages the libraries come from.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION licences RENAME Quillbox.txt)
file(READ ${quillbox_resources}/windows/Qt.txt quillbox_qt_note)
file(READ /usr/share/common-licenses/LGPL-3 quillbox_lgpl)
file(WRITE ${quillbox_runtime_dir}/Qt.txt "${quillbox_qt_note}\n${quillbox_lgpl}")
install(FILES ${quillbox_runtime_dir}/Qt.txt ${quillbox_resources}/windows/GCC-runtime.txt
        DESTINATION licences)
install(FILES /usr/share/doc/libqt6core6/copyright DESTINATION licences
        RENAME qt6-base-copyright.txt)
install(FILES /usr/share/doc/gcc-mingw-w64-base/copyright DESTINATION licences
        RENAME gcc-mingw-w64-copyright.txt)
install(FILES /usr/share/doc/mingw-w64-x86-64-dev/copyright DESTINATION licences
        RENAME mingw-w64-copyright.txt)

set(CPACK_PACKAGE_NAME Quillbox)
set(CPACK_PACKAGE_VERSION ${QUILLBOX_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR "Quillbox developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keeps every text you copy as a file")
set(CPACK_PACKAGE_FILE_NAME Quillbox-${QUILLBOX_PACKAGE_VERSION}-win64)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR ZIP NSIS)
# Quotes in the installer's own lines below reach the installer's script as written.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/WindowsPackageNames.cmake)

# The installer: Program Files\Quillbox, a Start menu entry, an uninstaller that removes what it
# installed and nothing of the user's (%APPDATA%\Quillbox, the captures).
set(CPACK_NSIS_PACKAGE_NAME Quillbox)
set(CPACK_NSIS_DISPLAY_NAME Quillbox)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Quillbox)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Quillbox)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_PACKAGE_EXECUTABLES Quillbox Quillbox)
set(CPACK_NSIS_INSTALLED_ICON_NAME Quillbox.exe)
set(CPACK_NSIS_MUI_ICON ${quillbox_resources}/icons/quillbox.ico)
set(CPACK_NSIS_MUI_UNIICON ${quillbox_resources}/icons/quillbox.ico)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit installer: Windows x86-64 runs either kind, a 64-bit Wine only this one. The finish
# page's checkbox, off unless ticked, starts Quillbox at sign-in; a silent install does so when
# given /AUTOSTART. The installer runs as an administrator, so it does not start Quillbox itself:
# the program would then run with rights its user does not have.
set(quillbox_startup_link "$SMSTARTUP\\Quillbox.lnk")
set(CPACK_NSIS_DEFINES "Target amd64-unicode
!include FileFunc.nsh
!define MUI_FINISHPAGE_SHOWREADME \"\"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_TEXT \"Start Quillbox when I sign in\"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION StartAtSignIn
Function StartAtSignIn
    CreateShortCut \"${quillbox_startup_link}\" \"$INSTDIR\\Quillbox.exe\"
FunctionEnd")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
    \${GetParameters} $R0
    ClearErrors
    \${GetOptions} $R0 \"/AUTOSTART\" $R1
    IfErrors +2 0
        Call StartAtSignIn
")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
    Delete \"${quillbox_startup_link}\"
")
include(CPack)
