# The Debian package: `cpack -G DEB` in the build folder (scripts/package.sh)
# writes vekbase_VERSION_ARCH.deb with what the install rules name: the two
# programs, the manual, the man pages, the desktop entry, the .qor file type
# and the icon. Its dependencies are found by dpkg-shlibdeps (package
# dpkg-dev) from the libraries the programs link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vekbase)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vek Base")
set(CPACK_PACKAGE_CONTACT "Équipe Vek Base <vekbase@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "gestionnaire de tables de données, en français")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "gestionnaire de tables de données, en français\n"
    " Vek Base ouvre plusieurs tables à la fois, les montre en tableau, en\n"
    " colonne ou dans un formulaire dessiné, les trie, les filtre, les interroge\n"
    " en SQL ou par l'exemple, compte et calcule, importe et exporte le texte,\n"
    " les classeurs et les bases SQLite, et imprime listes, fiches et\n"
    " enveloppes. Avec vektool pour les travaux en série et un manuel\n"
    " d'utilisation dans le programme (touche F1).")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windowing plugins and Qt's French texts are loaded, not linked.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-liberation")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build" "/\\\\.git")
include(CPack)
