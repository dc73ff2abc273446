# SPDX-License-Identifier: MIT
# On Debian and its kin the libraries go into the multiarch folder
# (lib/x86_64-linux-gnu) under every prefix, as GNUInstallDirs does for /usr:
# the loader, pkg-config and CMake look there under /usr/local as well, and
# the Debian packages must put them there. Included before anything else
# includes GNUInstallDirs, which would fix the folder as lib otherwise.
if(CMAKE_LIBRARY_ARCHITECTURE AND NOT CMAKE_CROSSCOMPILING AND EXISTS /etc/debian_version
   AND NOT DEFINED CACHE{CMAKE_INSTALL_LIBDIR})
    set(CMAKE_INSTALL_LIBDIR "lib/${CMAKE_LIBRARY_ARCHITECTURE}" CACHE PATH
        "Object code libraries (lib/${CMAKE_LIBRARY_ARCHITECTURE})")
endif()
