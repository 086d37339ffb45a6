# The Debian package, built by scripts/package with `cpack -G DEB` into
# <build>/verrolift_<version>_<arch>.deb from the install rules.
set(VERROLIFT_PACKAGE_MAINTAINER "Verrolift developers <verrolift@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME verrolift)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debian ships stripped programs; the debug information stays in the build.
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VERROLIFT_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends from the libraries the programs link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Liberation Sans has Arial's metrics, which the window layout is measured in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
# The login profile needs an ODBC driver registered as "Microsoft ODBC for Oracle".
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "unixodbc, odbcinst")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "load delimited text files into Oracle tables")
# CPack puts the summary first: the description is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Verrolift loads delimited text files into tables of an Oracle database over
ODBC. In its login window the user types an Oracle SID, a user name and a
password; in the main window a list of files is built, a field separator
typed, and either one new table is created per file or every file is
appended to one existing table, with one INSERT statement per line.
.
verrolift-import runs the same import without a window, for scripts.")

include(CPack)
