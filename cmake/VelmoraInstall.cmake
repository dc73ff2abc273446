# SPDX-License-Identifier: GPL-3.0-or-later
# Installation of the programs velmora and velmora-fit with what they open:
# the demo measurement and the help document, the manual pages, the desktop
# entry and the icon.
#
# Components: velmora_fit (velmora-fit) and velmora_program (the window).
# The programs find their data at run time as ../share/velmora/ beside their
# own directory, so the install directories must keep that relation.
include(GNUInstallDirs)

set(VELMORA_DATA_INSTALL_DIR "${CMAKE_INSTALL_DATADIR}/velmora")
file(RELATIVE_PATH VELMORA_BIN_TO_DATA "/${CMAKE_INSTALL_BINDIR}" "/${VELMORA_DATA_INSTALL_DIR}")
if(NOT VELMORA_BIN_TO_DATA STREQUAL "../share/velmora")
    message(FATAL_ERROR "The programs look for their data in ../share/velmora beside ${CMAKE_INSTALL_BINDIR}, "
                        "but CMAKE_INSTALL_BINDIR=${CMAKE_INSTALL_BINDIR} and "
                        "CMAKE_INSTALL_DATADIR=${CMAKE_INSTALL_DATADIR} put it at ${VELMORA_BIN_TO_DATA}")
endif()

set(VELMORA_PROGRAMS velmora-fit)
if(TARGET velmora)
    list(APPEND VELMORA_PROGRAMS velmora)
    set(VELMORA_INSTALLS_WINDOW window)
else()
    set(VELMORA_INSTALLS_WINDOW no-window)
endif()
# An installed program loads the library of its own prefix, wherever that
# prefix was put.
file(RELATIVE_PATH VELMORA_BIN_TO_LIB "/${CMAKE_INSTALL_BINDIR}" "/${CMAKE_INSTALL_LIBDIR}")
set_target_properties(${VELMORA_PROGRAMS} PROPERTIES INSTALL_RPATH "$ORIGIN/${VELMORA_BIN_TO_LIB}")
# Each program is its own component: velmora-fit (velmora_fit, with the demo
# measurement it fits with --demo) needs no Qt, the window (velmora_program,
# with the help document, desktop entry and icon) does.
function(velmora_install_program program component)
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${component})
    # Under /usr (and so in the Debian packages) the library lies where the
    # dynamic loader looks anyway, and a run path would only come before the
    # system's own search: there the program carries none.
    install(CODE "
        if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
            file(RPATH_REMOVE FILE \"\$ENV{DESTDIR}/usr/${CMAKE_INSTALL_BINDIR}/${program}\")
        endif()" COMPONENT ${component})
    # Its manual page, where the source tree has one, compressed as Debian
    # keeps manual pages.
    set(page ${PROJECT_SOURCE_DIR}/docs/man/${program}.1)
    if(EXISTS ${page})
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${page})
        execute_process(COMMAND gzip -9 -n -c ${page} OUTPUT_FILE ${PROJECT_BINARY_DIR}/man/${program}.1.gz
                        COMMAND_ERROR_IS_FATAL ANY)
        install(FILES ${PROJECT_BINARY_DIR}/man/${program}.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
    endif()
endfunction()

file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/man)
velmora_install_program(velmora-fit velmora_fit)
if(TARGET velmora)
    velmora_install_program(velmora velmora_program)
endif()

install(FILES ${PROJECT_SOURCE_DIR}/demo/DemoDat.txt
    DESTINATION ${VELMORA_DATA_INSTALL_DIR} COMPONENT velmora_fit)
install(FILES ${PROJECT_SOURCE_DIR}/demo/HelpDemo.mht
    DESTINATION ${VELMORA_DATA_INSTALL_DIR} COMPONENT velmora_program)

# The manual pages, one for each program installed.
install(FILES ${PROJECT_SOURCE_DIR}/docs/man/velmora-fit.1
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT velmora_program)
if(TARGET velmora)
    install(FILES ${PROJECT_SOURCE_DIR}/docs/man/velmora.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT velmora_program)
endif()

if(TARGET velmora)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/velmora/velmora.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT velmora_program)

    # The icon: the About picture's scene drawn square by the same tool.
    set(VELMORA_ICON_SIZE 256)
    set(VELMORA_ICON ${PROJECT_BINARY_DIR}/velmora.png)
    find_program(VELMORA_PYTHON NAMES python3 REQUIRED
                 DOC "Python interpreter that draws the program's icon")
    add_custom_command(OUTPUT ${VELMORA_ICON}
        COMMAND ${VELMORA_PYTHON} ${PROJECT_SOURCE_DIR}/tools/make-about-picture
                --icon ${VELMORA_ICON_SIZE} ${VELMORA_ICON}
        DEPENDS ${PROJECT_SOURCE_DIR}/tools/make-about-picture
        COMMENT "Drawing the icon of velmora")
    add_custom_target(velmora-icon ALL DEPENDS ${VELMORA_ICON})
    install(FILES ${VELMORA_ICON}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${VELMORA_ICON_SIZE}x${VELMORA_ICON_SIZE}/apps
        COMPONENT velmora_program)
endif()

install(FILES ${PROJECT_SOURCE_DIR}/LICENSES/GPL-3.0-or-later.txt
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/velmora RENAME LICENSE
    COMPONENT velmora_program)
