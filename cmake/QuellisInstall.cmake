# SPDX-License-Identifier: MIT
# Installation of the quellis library and its Python package, and the CMake
# package that lets other projects find both an installed prefix and this
# build tree with find_package(quellis).
#
# Components: quellis_runtime (the shared object and its licence),
# quellis_development (header, export table, pkg-config and CMake files) and
# quellis_python (the Python package).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(QUELLIS_PYTHON_INSTALL_DIR "lib/python3/dist-packages" CACHE STRING
    "Directory, relative to the prefix, that receives the Python package quellis")
set(QUELLIS_CMAKE_INSTALL_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/quellis")
set(QUELLIS_PACKAGING_DIR "${CMAKE_CURRENT_LIST_DIR}/quellis")

install(TARGETS quellis EXPORT quellisTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
            COMPONENT quellis_runtime
            NAMELINK_COMPONENT quellis_development
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/LICENSES/MIT.txt
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quellis RENAME LICENSE
    COMPONENT quellis_runtime)

install(FILES ${PROJECT_SOURCE_DIR}/library/include/quellis.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT quellis_development)
install(FILES ${PROJECT_SOURCE_DIR}/library/quellis.def
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/quellis COMPONENT quellis_development)

# pkg-config: the prefix is found from where the .pc file lies, so a prefix
# given only at install time (cmake --install --prefix P) is right as well.
set(QUELLIS_PKGCONFIG_INSTALL_DIR "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
file(RELATIVE_PATH QUELLIS_PKGCONFIG_TO_PREFIX "/${QUELLIS_PKGCONFIG_INSTALL_DIR}" "/")
string(REGEX REPLACE "/$" "" QUELLIS_PKGCONFIG_TO_PREFIX "${QUELLIS_PKGCONFIG_TO_PREFIX}")
configure_file(${QUELLIS_PACKAGING_DIR}/quellis.pc.in ${PROJECT_BINARY_DIR}/quellis.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quellis.pc
    DESTINATION ${QUELLIS_PKGCONFIG_INSTALL_DIR} COMPONENT quellis_development)

# CMake package: the same configuration file serves the installed prefix and
# the build tree, each beside its own targets file.
configure_package_config_file(${QUELLIS_PACKAGING_DIR}/quellisConfig.cmake.in
    ${PROJECT_BINARY_DIR}/quellisConfig.cmake
    INSTALL_DESTINATION ${QUELLIS_CMAKE_INSTALL_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/quellisConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(EXPORT quellisTargets NAMESPACE quellis::
    DESTINATION ${QUELLIS_CMAKE_INSTALL_DIR} COMPONENT quellis_development)
install(FILES ${PROJECT_BINARY_DIR}/quellisConfig.cmake
              ${PROJECT_BINARY_DIR}/quellisConfigVersion.cmake
    DESTINATION ${QUELLIS_CMAKE_INSTALL_DIR} COMPONENT quellis_development)
export(EXPORT quellisTargets NAMESPACE quellis::
    FILE ${PROJECT_BINARY_DIR}/quellisTargets.cmake)

# Python package: the pure-Python sources, and a module that records where
# the shared object lies relative to the installed package.
set(QUELLIS_PYTHON_PACKAGE_DIR "${QUELLIS_PYTHON_INSTALL_DIR}/quellis")
file(RELATIVE_PATH QUELLIS_PYTHON_TO_LIBRARY "/${QUELLIS_PYTHON_PACKAGE_DIR}"
     "/${CMAKE_INSTALL_LIBDIR}/libquellis.so.${PROJECT_VERSION_MAJOR}")
configure_file(${QUELLIS_PACKAGING_DIR}/installed_library.py.in
    ${PROJECT_BINARY_DIR}/python/quellis/_installed_library.py @ONLY)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/python/quellis/
    DESTINATION ${QUELLIS_PYTHON_PACKAGE_DIR} COMPONENT quellis_python
    FILES_MATCHING PATTERN "*.py" PATTERN "__pycache__" EXCLUDE)
install(FILES ${PROJECT_BINARY_DIR}/python/quellis/_installed_library.py
    DESTINATION ${QUELLIS_PYTHON_PACKAGE_DIR} COMPONENT quellis_python)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSES/MIT.txt
    DESTINATION ${QUELLIS_PYTHON_PACKAGE_DIR} RENAME LICENSE COMPONENT quellis_python)
