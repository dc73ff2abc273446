# SPDX-License-Identifier: GPL-3.0-or-later
# Debian packages built by `make package` (CPack, DEB generator), one for
# each install component, installing under /usr:
#
#   libquellis1       quellis_runtime      the shared library
#   libquellis-dev    quellis_development  header, export table, pkg-config, CMake package
#   python3-quellis   quellis_python       the Python package with its extension
#   velmora-fit       velmora_fit          velmora-fit and the demo measurement (no Qt)
#   velmora           velmora_program      the window, help document, desktop entry, icon
#
# Each package carries the machine-readable copyright file and the changelog
# Debian asks for in /usr/share/doc/<package>/; they are installed only into
# packages, a plain `cmake --install` leaves them out.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "The Velmora authors")
set(CPACK_PACKAGE_CONTACT "The Velmora authors <maintainers@velmora.invalid>")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Each package's description starts with its own summary line, so the
# project's description is not put before it.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL quellis_runtime quellis_development quellis_python velmora_fit)
if(TARGET velmora)
    list(APPEND CPACK_COMPONENTS_ALL velmora_program)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies on system libraries come from dpkg-shlibdeps; the library of
# this build is looked up where it was built.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/library)
# The runtime package tells programs built against it which package to
# depend on (its shlibs file): this version or any later one.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(VELMORA_DEBIAN_LIBRARY "libquellis${PROJECT_VERSION_MAJOR}")
set(VELMORA_DEBIAN_SAME_LIBRARY "${VELMORA_DEBIAN_LIBRARY} (= ${PROJECT_VERSION})")

set(CPACK_DEBIAN_QUELLIS_RUNTIME_PACKAGE_NAME ${VELMORA_DEBIAN_LIBRARY})
set(CPACK_DEBIAN_QUELLIS_RUNTIME_PACKAGE_SECTION libs)
# The library's package refreshes the loader's cache by a trigger.
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/debian/ldconfig-trigger.cmake)
set(CPACK_DEBIAN_QUELLIS_RUNTIME_DESCRIPTION
    "Mie scattering by spheres, coated spheres and in the near field
The shared library quellis computes Mie coefficients, efficiencies,
amplitude and scattering matrices of homogeneous and coated spheres and
the fields near them, through 32 plain C functions.")

set(CPACK_DEBIAN_QUELLIS_DEVELOPMENT_PACKAGE_NAME libquellis-dev)
set(CPACK_DEBIAN_QUELLIS_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_QUELLIS_DEVELOPMENT_PACKAGE_DEPENDS ${VELMORA_DEBIAN_SAME_LIBRARY})
set(CPACK_DEBIAN_QUELLIS_DEVELOPMENT_DESCRIPTION
    "Mie scattering library quellis: development files
The C header quellis.h, the development link, the Windows export table,
the pkg-config file quellis.pc and the CMake package that gives the
target quellis::quellis to find_package(quellis).")

set(CPACK_DEBIAN_QUELLIS_PYTHON_PACKAGE_NAME python3-quellis)
set(CPACK_DEBIAN_QUELLIS_PYTHON_PACKAGE_SECTION python)
# The extension module is built for this Python version; quellis.lib, the
# ctypes declarations, loads the library's package.
string(REPLACE "." ";" VELMORA_PYTHON_VERSION_PARTS "${QUELLIS_PYTHON_VERSION}")
list(GET VELMORA_PYTHON_VERSION_PARTS 1 VELMORA_PYTHON_MINOR)
math(EXPR VELMORA_PYTHON_NEXT_MINOR "${VELMORA_PYTHON_MINOR} + 1")
set(CPACK_DEBIAN_QUELLIS_PYTHON_PACKAGE_DEPENDS
    "python3 (>= ${QUELLIS_PYTHON_VERSION}), python3 (<< 3.${VELMORA_PYTHON_NEXT_MINOR}), python3-numpy, ${VELMORA_DEBIAN_SAME_LIBRARY}")
set(CPACK_DEBIAN_QUELLIS_PYTHON_DESCRIPTION
    "Mie scattering library quellis for Python
The Python package quellis computes efficiencies, the asymmetry parameter,
amplitude and scattering matrices of spheres and coated spheres, size
averages and the fields near and inside a sphere over numpy arrays, with
the library compiled into its extension; it also declares the library's
32 functions for ctypes.")

set(CPACK_DEBIAN_VELMORA_FIT_PACKAGE_NAME velmora-fit)
set(CPACK_DEBIAN_VELMORA_FIT_PACKAGE_SECTION science)
set(CPACK_DEBIAN_VELMORA_FIT_PACKAGE_DEPENDS "${VELMORA_DEBIAN_SAME_LIBRARY}")
set(CPACK_DEBIAN_VELMORA_FIT_DESCRIPTION
    "Mie-theory fits of growing metal nanoparticles, without a window
velmora-fit fits time-resolved light-scattering measurements at four
wavelengths and two polarisations to Mie theory: the radius and
concentration of the particles over time and the plasma parameters of
their dielectric function, and prints or saves the result tables. It
needs no graphical environment. With a demo measurement.")

set(CPACK_DEBIAN_VELMORA_PROGRAM_PACKAGE_NAME velmora)
set(CPACK_DEBIAN_VELMORA_PROGRAM_PACKAGE_SECTION science)
# The window needs a platform plugin of Qt, which the Qt libraries only
# recommend, and opens the demo measurement of velmora-fit's package.
set(CPACK_DEBIAN_VELMORA_PROGRAM_PACKAGE_DEPENDS
    "${VELMORA_DEBIAN_SAME_LIBRARY}, velmora-fit (= ${PROJECT_VERSION}), qt6-qpa-plugins")
set(CPACK_DEBIAN_VELMORA_PROGRAM_DESCRIPTION
    "Mie-theory fits of growing metal nanoparticles, in a window
velmora fits time-resolved light-scattering measurements at four
wavelengths and two polarisations to Mie theory and shows the radius and
concentration of the particles over time, the plasma parameters of their
dielectric function and the predicted plasmon resonances in charts and
tables. With the help document.")

# copyright and changelog of one package, from the licence its files carry.
function(velmora_debian_documents component package licence licence_text_file)
    file(STRINGS ${licence_text_file} lines)
    set(DEBIAN_LICENCE ${licence})
    set(DEBIAN_LICENCE_TEXT)
    foreach(line IN LISTS lines)
        if(line STREQUAL "")
            set(line ".")
        endif()
        string(APPEND DEBIAN_LICENCE_TEXT " ${line}\n")
    endforeach()
    string(REGEX REPLACE "\n$" "" DEBIAN_LICENCE_TEXT "${DEBIAN_LICENCE_TEXT}")
    set(DEBIAN_PACKAGE ${package})
    set(directory ${PROJECT_BINARY_DIR}/debian/${package})
    configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/copyright.in ${directory}/copyright @ONLY)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in ${directory}/changelog @ONLY)
    execute_process(COMMAND gzip -9 -n -c ${directory}/changelog
                    OUTPUT_FILE ${directory}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
    install(FILES ${directory}/copyright ${directory}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package}
        COMPONENT ${component} EXCLUDE_FROM_ALL)
endfunction()

# The MIT licence without its title and copyright line, which the copyright
# file gives in its own fields.
file(READ ${PROJECT_SOURCE_DIR}/LICENSES/MIT.txt VELMORA_MIT_TEXT)
string(REGEX REPLACE "^.*\n(Permission)" "\\1" VELMORA_MIT_TEXT "${VELMORA_MIT_TEXT}")
file(WRITE ${PROJECT_BINARY_DIR}/debian/Expat.text "${VELMORA_MIT_TEXT}")

velmora_debian_documents(quellis_runtime ${VELMORA_DEBIAN_LIBRARY} Expat
                         ${PROJECT_BINARY_DIR}/debian/Expat.text)
velmora_debian_documents(quellis_development libquellis-dev Expat
                         ${PROJECT_BINARY_DIR}/debian/Expat.text)
velmora_debian_documents(quellis_python python3-quellis Expat
                         ${PROJECT_BINARY_DIR}/debian/Expat.text)
velmora_debian_documents(velmora_fit velmora-fit GPL-3+
                         ${PROJECT_SOURCE_DIR}/cmake/debian/GPL-3+.notice)
velmora_debian_documents(velmora_program velmora GPL-3+
                         ${PROJECT_SOURCE_DIR}/cmake/debian/GPL-3+.notice)

include(CPack)
