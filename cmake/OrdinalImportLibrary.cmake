# SPDX-License-Identifier: GPL-3.0-or-later
# velmora_ordinal_import_library(<target> DEF <def>)
#
# An import library made by MinGW-w64's dlltool from a module-definition
# file, as an imported target <target> that programs link. Exports named
# NONAME in the file are imported by ordinal only; --kill-at maps the
# __stdcall decoration the callers reference ("PowCom@16") onto the DLL's
# plain exports. The file gives the 32-bit names; 64-bit Windows has no
# decoration, and there a copy without it is used.
function(velmora_ordinal_import_library target)
    cmake_parse_arguments(ARG "" "DEF" "" ${ARGN})
    get_filename_component(name ${ARG_DEF} NAME_WE)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        file(READ ${ARG_DEF} text)
        string(REGEX REPLACE "([A-Za-z_][A-Za-z0-9_]*)@[0-9]+" "\\1" text "${text}")
        set(plain ${CMAKE_CURRENT_BINARY_DIR}/${name}-64.def)
        file(WRITE ${plain} "${text}")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ARG_DEF})
        set(ARG_DEF ${plain})
    endif()
    set(library ${CMAKE_CURRENT_BINARY_DIR}/lib${name}.a)
    add_custom_command(OUTPUT ${library}
        COMMAND ${CMAKE_DLLTOOL} --input-def ${ARG_DEF} --kill-at --output-lib ${library}
        DEPENDS ${ARG_DEF} COMMENT "Import library ${library}" VERBATIM)
    add_custom_target(${target}_file DEPENDS ${library})
    add_library(${target} STATIC IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${library})
    add_dependencies(${target} ${target}_file)
endfunction()
