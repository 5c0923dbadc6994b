# A Debian package of the installed program (scripts/package.sh). Its library dependencies come
# from the shared libraries the program links (dpkg-shlibdeps); what it loads by other means is
# named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaro)
set(CPACK_PACKAGE_VENDOR "Tessaro")
set(CPACK_PACKAGE_CONTACT "Tessaro <tessaro@tessaro.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "thesis similarity estimate from public web search")
set(CPACK_PACKAGE_DESCRIPTION
    "Tessaro cuts an article (a thesis or paper, mostly in Chinese) into short sentences, searches each
one on a public search service in an embedded browser pane and estimates how much of it can already
be found on the web. Its comparator marks every passage an article shares with a reference text.
Every sentence is sent to the chosen search service. The interface is in Simplified Chinese.")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://tessaro.example/ziyuan/post/2014/04/04/11.aspx")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time rather than linked: the platform plugins, Qt's Chinese catalogues, the CJK
# fonts the article and the captions are shown in, and the SQLite driver of the kept results.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-noto-cjk, libqt6sql6-sqlite")
# Word documents (.doc, .docx) are read through LibreOffice Writer.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libreoffice-writer | libreoffice-writer-nogui")
include(CPack)
