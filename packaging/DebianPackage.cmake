# The Debian package vantrel_<version>_<arch>.deb. Its library dependencies are
# read from the binaries by dpkg-shlibdeps, so it installs on a plain Debian with
# `apt install ./vantrel_<version>_<arch>.deb`.
# An address at localhost receives no mail; build trees configured before it was
# replaced still hold it in their cache.
if(VANTREL_PACKAGE_MAINTAINER MATCHES "@localhost>$")
  unset(VANTREL_PACKAGE_MAINTAINER CACHE)
endif()
set(VANTREL_PACKAGE_MAINTAINER "Vantrel developers <maintainers@vantrel.org>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VENDOR "Vantrel")
set(CPACK_PACKAGE_CONTACT "${VANTREL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "data acquisition front end for serial acquisition cards")
set(CPACK_PACKAGE_DESCRIPTION
    "Vantrel talks over serial ports to up to two acquisition cards (8 analog
inputs and 16 digital lines each), converts raw counts into volts, milliamps
and degrees (PT-100, J and K thermocouples with cold-junction compensation),
shows them live and logs chosen channels to a delimited text file.

The package also holds vantrel-cardsim, a simulated card on a pseudo-terminal
for trying the program without hardware.

License: GPL-3.0-or-later")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://vantrel.org")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
