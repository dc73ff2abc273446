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

set(QUELLIS_PYTHON_PACKAGES_DIR "" CACHE STRING
    "Directory, relative to the prefix, that receives the Python package quellis; empty: \
where Debian's Python looks for the install prefix (lib/python3/dist-packages under /usr, \
lib/python3.X/dist-packages elsewhere)")
set(QUELLIS_CMAKE_INSTALL_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/quellis")
set(QUELLIS_PACKAGING_DIR "${CMAKE_CURRENT_LIST_DIR}/quellis")

# The shared object names the C library it runs on, as Debian requires of a
# library, although the compiler's default --as-needed would leave it out
# (the library calls only the mathematical and C++ runtimes); every other
# library on its link line is needed anyway. With link-time optimisation
# only the option for the whole link keeps it.
if(NOT WIN32)
    target_link_options(quellis PRIVATE -Wl,--no-as-needed)
endif()

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

# Python package: the Python sources, the extension module, and a module
# that records where the shared object lies relative to the installed
# package (for quellis.lib). Where it goes is decided when it is installed,
# since the prefix may be given only then: Debian's Python takes packages
# of /usr from lib/python3/dist-packages and those of any other prefix
# (/usr/local) from lib/python3.X/dist-packages, X its minor version.
if(NOT TARGET quellis_core)
    return()
endif()
execute_process(COMMAND ${QUELLIS_PYTHON} -c "import sys; print(f'{sys.version_info[0]}.{sys.version_info[1]}')"
                OUTPUT_VARIABLE QUELLIS_PYTHON_VERSION OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
if(QUELLIS_PYTHON_PACKAGES_DIR)
    set(QUELLIS_PYTHON_LAYOUT_DIR ${QUELLIS_PYTHON_PACKAGES_DIR})
else()
    # Both of Debian's folders lie as deep below the prefix as this one.
    set(QUELLIS_PYTHON_LAYOUT_DIR "lib/python3/dist-packages")
endif()
file(RELATIVE_PATH QUELLIS_PYTHON_TO_LIBRARY "/${QUELLIS_PYTHON_LAYOUT_DIR}/quellis"
     "/${CMAKE_INSTALL_LIBDIR}/libquellis.so.${PROJECT_VERSION_MAJOR}")
configure_file(${QUELLIS_PACKAGING_DIR}/installed_library.py.in
    ${PROJECT_BINARY_DIR}/python-install/_installed_library.py @ONLY)
file(GLOB QUELLIS_PYTHON_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/python/quellis/*.py)
install(CODE "
    set(python_dir \"${QUELLIS_PYTHON_PACKAGES_DIR}\")
    if(NOT python_dir)
        if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
            set(python_dir lib/python3/dist-packages)
        else()
            set(python_dir lib/python${QUELLIS_PYTHON_VERSION}/dist-packages)
        endif()
    endif()
    set(package_dir \"\${CMAKE_INSTALL_PREFIX}/\${python_dir}/quellis\")
    file(INSTALL ${QUELLIS_PYTHON_SOURCES}
                 ${PROJECT_BINARY_DIR}/python-install/_installed_library.py
                 \"$<TARGET_FILE:quellis_core>\"
         DESTINATION \"\${package_dir}\")
    file(INSTALL ${PROJECT_SOURCE_DIR}/LICENSES/MIT.txt DESTINATION \"\${package_dir}\"
         RENAME LICENSE)" COMPONENT quellis_python)
