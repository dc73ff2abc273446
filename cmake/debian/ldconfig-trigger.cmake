# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack after it has built the Debian packages (CPACK_POST_BUILD_SCRIPTS):
# the library's package gets the trigger that refreshes the loader's cache
# once per dpkg run, in place of the postinst and postrm scripts that CPack
# writes for a library and that call ldconfig themselves, as Debian's policy
# no longer has packages do. Every other package stays as built.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    get_filename_component(name ${package} NAME)
    if(NOT name MATCHES "^${CPACK_DEBIAN_QUELLIS_RUNTIME_PACKAGE_NAME}_")
        continue()
    endif()
    set(tree ${CPACK_PACKAGE_DIRECTORY}/ldconfig-trigger)
    file(REMOVE_RECURSE ${tree})
    execute_process(COMMAND dpkg-deb --raw-extract ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE ${tree}/DEBIAN/postinst ${tree}/DEBIAN/postrm)
    file(WRITE ${tree}/DEBIAN/triggers "activate-noawait ldconfig\n")
    execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${package}
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE ${tree})
endforeach()
