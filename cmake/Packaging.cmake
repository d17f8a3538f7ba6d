# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, built with CPack from the install rules:
#   cmake --build build --target package    (or: cd build && cpack -G DEB)
# writes build/velkoran_<version>_<arch>.deb. It installs under /usr whatever
# CMAKE_INSTALL_PREFIX says; the window finds its encoder and catalogues
# relative to itself, so the same build serves both.

set(VELKORAN_MAINTAINER "The Velkoran developers <velkoran@example.org>"
    CACHE STRING "Name <address> of whoever builds and answers for the Debian package")

# What Debian asks of every package besides the program: the license in
# doc/velkoran/copyright and a changelog, compressed as lintian wants it.
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${PROJECT_BINARY_DIR}/doc/changelog @ONLY)
find_program(GZIP gzip REQUIRED)
add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/doc/changelog.gz
    COMMAND ${GZIP} -9 -n -c ${PROJECT_BINARY_DIR}/doc/changelog > ${PROJECT_BINARY_DIR}/doc/changelog.gz
    DEPENDS ${PROJECT_BINARY_DIR}/doc/changelog)
add_custom_target(package_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/doc/changelog.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${PROJECT_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velkoran)
set(CPACK_PACKAGE_VENDOR "The Velkoran developers")
set(CPACK_PACKAGE_CONTACT "${VELKORAN_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_LICENSE GPL-3+)
# The libraries the binaries link come from dpkg-shlibdeps; ffmpeg is run,
# not linked. Qt's own catalogues make the German file dialogs German, and
# Qt's SVG plugins let the window show its icon (an SVG) in its title bar.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS ffmpeg)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, libqt6svg6")
# The first line is the synopsis; CPack indents the rest as Debian wants it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "desktop program that converts videos to Ogg Theora
Velkoran Theora Encoder turns a video file into an Ogg file with Theora
video and Vorbis sound. Its window sets the video and audio quality or bit
rate, metadata, scaling, cropping, aspect ratio, frame rate and sample rate,
and a start and end time to encode only a part of the video; a progress bar
tells how long is left.

The encoding is done by the package's own ffmpeg2theora command-line
encoder, built on ffmpeg, which encodes long videos in chunks on all cores.")

include(CPack)
