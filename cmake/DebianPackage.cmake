# `cpack -G DEB` in a release build makes lirobel_<version>_<arch>.deb. It installs under /usr, where the
# triggers of Debian's desktop-file-utils, shared-mime-info, hicolor-icon-theme and man-db pick up the
# desktop entry, the file type, the icon and the manual page.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lirobel)
set(CPACK_PACKAGE_VENDOR "Lirobel developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "prepares song lyrics for a singing synthesiser")
# One string: set() with several would join them with the list separator ";", which dpkg then shows.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Lirobel turns Japanese lyrics (kana, kanji or romaji) into sequence romaji, Chinese lyrics into pinyin "
    "and phonetic symbols for Japanese voice libraries, and writes the phonetic symbols note by note into "
    "VSQX sequence files. It is a window, lirobel, and a command-line companion, lirobel-cli.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Lirobel developers <lirobel@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# The linked libraries come from dpkg-shlibdeps (dpkg-dev); the rest that the programs open at run time,
# and what the window needs to show at all, are named here: libzip, loaded for .vpr projects alone (1.7 for
# zip_compression_method_supported), the kanji dictionary, the phrase database, Unihan,
# OpenCC's t2s.json, the X11/Wayland platform plugins (only recommended by Qt), the SVG plugins that draw
# the windows' icon, a font with Chinese characters and kana, and Qt's own translations, so that its file
# dialog and message boxes speak the program's Chinese.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libzip4 (>= 1.7.0), ${LIROBEL_JAPANESE_DICTIONARY_PACKAGE}, pinyin-database, unicode-data, libopencc-data, qt6-qpa-plugins, libqt6svg6, fonts-wqy-microhei, qt6-translations-l10n")
include(CPack)
