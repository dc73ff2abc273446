# SPDX-License-Identifier: GPL-3.0-or-later
# Installation of the programs velmora and velmora-fit with what they open:
# the demo measurement and the help document, the manual pages, the desktop
# entry and the icon.
#
# Component: velmora_program. The programs find their data at run time as
# ../share/velmora/ beside their own directory, so the install directories
# must keep that relation.
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
install(TARGETS ${VELMORA_PROGRAMS}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT velmora_program)
# Under /usr (and so in the Debian packages) the library lies where the
# dynamic loader looks anyway, and a run path would only come before the
# system's own search: there the programs carry none.
install(CODE "
    if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
        foreach(program ${VELMORA_PROGRAMS})
            file(RPATH_REMOVE FILE \"\$ENV{DESTDIR}/usr/${CMAKE_INSTALL_BINDIR}/\${program}\")
        endforeach()
    endif()" COMPONENT velmora_program)

install(FILES ${PROJECT_SOURCE_DIR}/demo/DemoDat.txt ${PROJECT_SOURCE_DIR}/demo/HelpDemo.mht
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
