# The Windows packages, made with CPack on Windows or on Linux with Debian's nsis: a 64-bit
# NSIS installer (Start-menu shortcut, Add/Remove Programs entry, uninstaller) and a portable
# zip of the program, its licence and a short read-me.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt DESTINATION .)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME Varnock)
set(CPACK_PACKAGE_VENDOR "Varnock maintainers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Registers archives in an application's INI settings file")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Varnock)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Varnock)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_SYSTEM_NAME win64)
# Our copy of CPack's template, which targets 64-bit Windows.
set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging/windows)

set(icon ${PROJECT_SOURCE_DIR}/packaging/windows/varnock.ico)
set(CPACK_NSIS_PACKAGE_NAME Varnock)
set(CPACK_NSIS_DISPLAY_NAME Varnock)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MUI_ICON ${icon})
set(CPACK_NSIS_MUI_UNIICON ${icon})
set(CPACK_NSIS_INSTALLED_ICON_NAME varnock.exe)
set(CPACK_NSIS_MENU_LINKS varnock.exe Varnock)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_NSIS_URL_INFO_ABOUT "https://varnock.invalid/")

set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
include(CPack)
