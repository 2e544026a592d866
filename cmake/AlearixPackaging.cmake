# Debian package of the programs (scripts/package.sh runs it): cpack -G DEB gives
# alearix_1.0_amd64.deb, whose library dependencies dpkg-shlibdeps works out.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME alearix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Alearix developers <dev@alearix.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "random numbers that follow a density you shape by hand")
set(CPACK_PACKAGE_DESCRIPTION
    "Alearix draws random numbers from a probability density shaped by hand: six\n"
    "preset shapes, a mixture of two bell curves, or a table of points. It writes\n"
    "them to text files and shows their histogram under the density curve; the\n"
    "command-line generator alearix-gen writes the same bytes and reports how well a\n"
    "sample fits its density. A chart demo shows the chart component's features.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: Qt's platform plugins (the X11 one) and the fonts the program
# lays out its windows with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
include(CPack)
