# The Debian package, built by `cmake --workflow --preset package`: the install rules of the programs
# under the prefix /usr, dependencies found by dpkg-shlibdeps, and maintainer scripts that put the udev
# rule and uinput to work at once and take them back on removal.
include(GNUInstallDirs)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrane)
set(CPACK_PACKAGE_VENDOR "The Veltrane developers")
set(CPACK_PACKAGE_CONTACT "The Veltrane developers <veltrane@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "caps lock as a hyper key")
set(CPACK_PACKAGE_DESCRIPTION "Veltrane turns caps lock, another chosen key or a one-finger slide
on a touchpad into a hyper key: while it is held, keys (and optionally
clicks, drags, moves and scrolls) reach applications with Ctrl, Alt,
Super and Shift, so that global shortcuts get chords nothing else uses.
It works under X11 and Wayland, below the display server.")
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VELTRANE_BUILD_NUMBER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "udev, kmod")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/packaging/debian/postinst ${PROJECT_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})

# What Debian asks of every package: the copyright and a compressed changelog in its doc folder.
set(changelog ${CMAKE_BINARY_DIR}/changelog.Debian.gz)
string(TIMESTAMP VELTRANE_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${CMAKE_BINARY_DIR}/changelog.Debian @ONLY)
add_custom_command(OUTPUT ${changelog}
  COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/changelog.Debian > ${changelog}
  DEPENDS ${CMAKE_BINARY_DIR}/changelog.Debian VERBATIM)
add_custom_target(veltrane-changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} ${PROJECT_SOURCE_DIR}/packaging/debian/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/veltrane)
include(CPack)
