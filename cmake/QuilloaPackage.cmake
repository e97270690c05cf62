# The Debian package made by `make package`, from the install rules of src/ and packaging/.
# dpkg-shlibdeps finds the libraries the program links (libpq among them); Depends adds what it
# loads at run time: the SQLite driver, the SVG plugins for the icons, Qt's Chinese translations and the
# Chinese faces of the sheet.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quilloa)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Quilloa maintainers <maintainers@quilloa.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "prescription writer for outpatient clinics")
set(CPACK_PACKAGE_DESCRIPTION
  "The doctor of a small outpatient clinic fills a prescription sheet on
screen, picks drugs, diagnoses and addresses by their pinyin initials and
keeps every prescription in a patient archive searched by name and visit
date. The program prints the prescription sheet and the injection card on
the clinic's paper, counts the day's and month's prescriptions and takings
and prints the clinic log as a register book.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6sql6-sqlite, libssl3, libmdb3, libqt6svg6, qt6-translations-l10n, fonts-noto-cjk, fonts-arphic-ukai, fonts-arphic-uming")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups, xdg-utils")
# --store and --copy-stores-to reach a database server through the program's own driver over
# libpq, which dpkg-shlibdeps adds to Depends; the server itself runs on one of the clinic's
# computers (docs/server.md).
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "postgresql")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quilloa.org/")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Every file of the package is dated by SOURCE_DATE_EPOCH, the date of the release in the
# changelog unless the caller sets one, so two builds of one source give the same package.
execute_process(
  COMMAND dpkg-parsechangelog -l "${PROJECT_SOURCE_DIR}/packaging/changelog" -STimestamp
  OUTPUT_VARIABLE QUILLOA_RELEASE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT QUILLOA_RELEASE_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "packaging/changelog has no release date dpkg-parsechangelog can read")
endif()
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_BINARY_DIR}/CPackReleaseDate.cmake")
file(WRITE "${CPACK_PROJECT_CONFIG_FILE}"
  "if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})\n  set(ENV{SOURCE_DATE_EPOCH} ${QUILLOA_RELEASE_EPOCH})\nendif()\n")
include(CPack)
