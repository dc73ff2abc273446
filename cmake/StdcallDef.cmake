# SPDX-License-Identifier: GPL-3.0-or-later
# velmora_stdcall_def(HEADER <h> DEF <def> OUTPUT <file>)
#
# Writes a module-definition file whose exports carry their 32-bit __stdcall
# decoration ("PowCom@16 @6"): the name and ordinal from DEF, the decoration
# from the prototype in HEADER, where every parameter takes 4 bytes of the
# stack except a double passed by value, which takes 8. Linked with
# --kill-at, the DLL exports the plain names, and an import library made
# from the file resolves a C caller's decorated references to them. A
# prototype the parser reads wrongly names a symbol that does not exist, and
# the DLL's link fails. 64-bit Windows has one calling convention and no
# decoration: there the file names the plain symbols.
function(velmora_stdcall_def)
    cmake_parse_arguments(ARG "" "HEADER;DEF;OUTPUT" "" ${ARGN})
    file(READ ${ARG_HEADER} header)
    string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" "" header "${header}")
    string(REGEX REPLACE "[ \t\r\n]+" " " header "${header}")

    file(STRINGS ${ARG_DEF} lines)
    set(text "")
    foreach(line IN LISTS lines)
        if(line MATCHES "^[ \t]*([A-Za-z_][A-Za-z0-9_]*)[ \t]+@([0-9]+)[ \t]*$")
            set(name ${CMAKE_MATCH_1})
            set(ordinal ${CMAKE_MATCH_2})
            if(NOT header MATCHES "QUELLIS_CALL ${name} ?\\(([^)]*)\\)")
                message(FATAL_ERROR "${ARG_HEADER} declares no export ${name}")
            endif()
            string(REPLACE "," ";" parameters "${CMAKE_MATCH_1}")
            set(bytes 0)
            foreach(parameter IN LISTS parameters)
                string(STRIP "${parameter}" parameter)
                if(parameter MATCHES "^(const )?double [A-Za-z_][A-Za-z0-9_]*$")
                    math(EXPR bytes "${bytes} + 8")
                elseif(NOT parameter STREQUAL "void")
                    math(EXPR bytes "${bytes} + 4")
                endif()
            endforeach()
            if(CMAKE_SIZEOF_VOID_P EQUAL 4)
                string(APPEND text "    ${name}@${bytes} @${ordinal}\n")
            else()
                string(APPEND text "    ${name} @${ordinal}\n")
            endif()
        elseif(line MATCHES "^[ \t]*(LIBRARY|EXPORTS)")
            string(APPEND text "${line}\n")
        endif()
    endforeach()
    # Rewritten only when it changes, so that a new configure run does not
    # relink the DLL.
    file(WRITE ${ARG_OUTPUT}.new "${text}")
    configure_file(${ARG_OUTPUT}.new ${ARG_OUTPUT} COPYONLY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ARG_HEADER} ${ARG_DEF})
endfunction()
