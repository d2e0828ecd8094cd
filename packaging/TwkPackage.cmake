# SPDX-License-Identifier: MIT
# The Debian package: `cpack -G DEB` in the build folder (scripts/test-package).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tellwick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tellwick developers")
set(CPACK_PACKAGE_CONTACT "The Tellwick developers <tellwick@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "service alerts beside the contact record in view")
# The extended description: CPack puts the summary before it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tellwick runs every enabled alert definition (an SQL batch kept in the
database) for the contact record a staff member has open, orders the alerts
and shows them with an icon, a keyword and buttons that copy prepared text
or start a prepared command line. Authorised staff maintain the definitions
in an editor.

The data lives in Microsoft SQL Server, reached through ODBC (FreeTDS); an
embedded SQLite database serves the demo. The package holds the host program
tellwick, the command-line program tellwick-alerts, the alert libraries and
the SQL Server scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies come from dpkg-shlibdeps; the window system plugins
# are loaded at run time, so no library names them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "tdsodbc")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
