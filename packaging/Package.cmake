# The Debian package, built by CPack (scripts/package):
#   kpl-presets-config_<version>_<architecture>.deb
# holding what the install rules put on a machine. The version is the
# project's; the dependencies are computed by dpkg-shlibdeps from the
# libraries the program is linked against. The maintainer is the team that
# holds the copyright (COPYRIGHT); its address is in-house, which
# packaging/lintian-overrides says.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${KPL_PACKAGE_NAME})
set(CPACK_PACKAGE_CONTACT "KPL Team <team@kpl.local>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "The configuration program of the production-data-acquisition component\n"
    "KPL_Presets. Each component folder of a project holds a link to the\n"
    "installed program, named after the component plus _Config. Started from\n"
    "there, by hand or by the host configuration program, it sets the presets of\n"
    "the manual-downtime function in the project's INI files and regenerates the\n"
    "component's preset definitions in its databases.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The dialog's fixed layout is measured for the metrics of these fonts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation2)
include(CPack)
