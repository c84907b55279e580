# The Debian package: cpack -G DEB in a build configured with CMAKE_INSTALL_PREFIX=/usr.
set(CPACK_PACKAGE_NAME varnock)
set(CPACK_PACKAGE_VENDOR "Varnock maintainers")
set(CPACK_PACKAGE_CONTACT "Varnock maintainers <maintainers@varnock.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Registers archives in an application's INI settings file")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Varnock keeps the list of archives that another application registers in the "
       "[Archives] section of its INI settings file, changing nothing in the file but the "
       "key it edits.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Varnock)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The library dependencies come from the binary itself; the SVG plug-in is loaded at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6svg6")
include(CPack)
