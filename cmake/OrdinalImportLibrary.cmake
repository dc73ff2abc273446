# velmora_ordinal_import_library(<target> DEF <def>)
#
# An import library made from a module-definition file, as an imported
# target <target> that programs link. Exports named NONAME in the file are
# imported by ordinal only. MinGW-w64 makes it with dlltool, whose --kill-at
# maps the __stdcall decoration the callers reference ("PowCom@16") onto the
# DLL's plain exports; Microsoft's toolchain makes it with lib /def.
function(velmora_ordinal_import_library target)
    cmake_parse_arguments(ARG "" "DEF" "" ${ARGN})
    get_filename_component(name ${ARG_DEF} NAME_WE)
    if(MSVC)
        set(library ${CMAKE_CURRENT_BINARY_DIR}/${name}.lib)
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            set(machine X86)
        else()
            set(machine X64)
        endif()
        set(command ${CMAKE_AR} /nologo /def:${ARG_DEF} /machine:${machine} /out:${library})
    else()
        set(library ${CMAKE_CURRENT_BINARY_DIR}/lib${name}.a)
        set(command ${CMAKE_DLLTOOL} --input-def ${ARG_DEF} --kill-at --output-lib ${library})
    endif()
    add_custom_command(OUTPUT ${library} COMMAND ${command} DEPENDS ${ARG_DEF}
                       COMMENT "Import library ${library}" VERBATIM)
    add_custom_target(${target}_file DEPENDS ${library})
    add_library(${target} STATIC IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${library})
    add_dependencies(${target} ${target}_file)
endfunction()
