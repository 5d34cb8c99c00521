# Installation (cmake --install) and the Debian package (cpack -G DEB).
include(GNUInstallDirs)

set(PLANNING_INSTALLATION ${CMAKE_SOURCE_DIR}/installation)
set(PLANNING_DOC ${CMAKE_INSTALL_DATADIR}/doc/orvane-planning)

install(TARGETS planning RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PLANNING_INSTALLATION}/orvane-planning.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PLANNING_INSTALLATION}/orvane-planning.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/scripts/lanceftp.sh.exemple DESTINATION ${PLANNING_DOC})

# The menu's bitmaps are drawn from the SVG at build time.
find_program(RSVG_CONVERT rsvg-convert)
if(RSVG_CONVERT)
    set(icones)
    foreach(taille 48 256)
        set(png ${CMAKE_BINARY_DIR}/icones/${taille}x${taille}/orvane-planning.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icones/${taille}x${taille}
            COMMAND ${RSVG_CONVERT} -w ${taille} -h ${taille} -o ${png} ${PLANNING_INSTALLATION}/orvane-planning.svg
            DEPENDS ${PLANNING_INSTALLATION}/orvane-planning.svg
            VERBATIM)
        list(APPEND icones ${png})
        install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${taille}x${taille}/apps)
    endforeach()
    add_custom_target(icones ALL DEPENDS ${icones})
else()
    message(WARNING "rsvg-convert (Debian librsvg2-bin) not found: the 48 and 256 px icons are not built "
                    "nor installed; run scripts/installer.sh")
endif()

# The manual page, dated by the build (SOURCE_DATE_EPOCH when set), compressed.
string(TIMESTAMP PLANNING_DATE_MANUEL "%Y-%m-%d" UTC)
configure_file(${PLANNING_INSTALLATION}/planning.1.in ${CMAKE_BINARY_DIR}/man/planning.1 @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/planning.1.gz
    COMMAND gzip -9 -n -k -f planning.1
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/man
    DEPENDS ${CMAKE_BINARY_DIR}/man/planning.1
    VERBATIM)
add_custom_target(manuel ALL DEPENDS ${CMAKE_BINARY_DIR}/man/planning.1.gz)
install(FILES ${CMAKE_BINARY_DIR}/man/planning.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The package. The libraries the executable links (Qt, and whatever joins
# them) are found by dpkg-shlibdeps; what the program loads or starts at run
# time is listed here: Qt's SQLite driver, xdg-email and xdg-open. A new
# database driver or helper program joins this list.
set(PLANNING_PAQUETS_EXECUTION libqt6sql6-sqlite xdg-utils)
list(JOIN PLANNING_PAQUETS_EXECUTION ", " PLANNING_DEPENDANCES)

set(CPACK_PACKAGE_NAME orvane-planning)
set(CPACK_PACKAGE_VENDOR "Orvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Planning et accueil d'un hôtel ou d'un camping")
set(CPACK_PACKAGE_DESCRIPTION
    "Planning des logements jour par jour, réservations et leur compte, caisse du bar et encaissements, "
    "contrats et factures, pages de disponibilité pour le site internet, sauvegardes tournantes de la base.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Orvane Planning <planning@orvane.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${PLANNING_DEPENDANCES}")
# The program runs without them, with other fonts, English Qt dialogs, and
# no upload by the example script; several desks on a PostgreSQL server need
# Qt's driver for it, and pg_dump for the start's backups.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, qt6-translations-l10n, libqt6sql6-psql, postgresql-client")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "curl")
include(CPack)

# The package's contents, checked in a scratch root by the test suite.
if(BUILD_TESTING)
    add_test(NAME Paquet.ContenuEtDependances
        COMMAND bash ${CMAKE_SOURCE_DIR}/tests/paquet/verifier_paquet.sh ${CMAKE_BINARY_DIR})
endif()
