# SPDX-License-Identifier: MIT
# Runs in CPack's staging folder before the Debian package is made: strips the programs as
# Debian strips its own, and adds what only the package needs.
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
find_program(strip strip REQUIRED)
foreach(program glimra-editor glimra-convert)
    execute_process(COMMAND ${strip} --remove-section=.comment --remove-section=.note
                            --strip-unneeded "${root}/usr/bin/${program}"
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(MAKE_DIRECTORY "${root}/usr/share/lintian/overrides")
file(COPY_FILE "${CMAKE_CURRENT_LIST_DIR}/lintian-overrides"
     "${root}/usr/share/lintian/overrides/glimra-editor")
