# The Debian package `make package` builds with CPack from the release build.

# Documents a Debian package carries: its copyright and, gzipped without a timestamp, its changelog.
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/velarix)
execute_process(COMMAND date -u -R -d "${VELARIX_RELEASE_DATE} 12:00" OUTPUT_VARIABLE release_date_rfc2822
  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(doc/changelog.in changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
  COMMAND gzip -9nc ${CMAKE_CURRENT_BINARY_DIR}/changelog > ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog)
add_custom_target(package_changelog ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
install(FILES doc/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velarix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tarnwick")
set(CPACK_PACKAGE_CONTACT "Velarix developers <team@velarix.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "import and trim skydiving videos from camera cards")
set(CPACK_PACKAGE_DESCRIPTION
  "Velarix is made for skydivers who film their jumps. It finds camera cards when
they are inserted, lists their videos newest first, remembers what was imported
before and copies the chosen clips into folders named by date, jump number and
card, never overwriting and keeping the file dates.
.
Its trimming tool listens to the wind noise of each video to find the exit and
the canopy opening, suggests a range around the jump and cuts the files in
place without re-encoding.
.
The package holds the desktop application velarix and the command-line tool
velarix-cli, which does the same work without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Directories 0755 whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://velarix.app")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Libraries the programs link come from dpkg-shlibdeps. It cannot see what Qt loads as plugins at run
# time: the SQLite driver the history needs and the SVG plugins that draw the icons are required; the
# GStreamer plugins that decode the preview,
# Wayland, and UDisks2 (for ejecting cards) make Velarix better but it runs without them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-libav, gstreamer1.0-plugins-good, qt6-wayland, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "udisks2")

include(CPack)
