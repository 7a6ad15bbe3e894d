# SPDX-License-Identifier: MIT
# The last step of `cmake --install`. Into a live prefix, such as ~/.local, the desktop
# learns the file type, the menu entry and the icons at once. A staging folder (DESTDIR,
# as a package is built) is left alone: the package manager's triggers do this there.
if(NOT "$ENV{DESTDIR}" STREQUAL "")
    return()
endif()
set(share "${CMAKE_INSTALL_PREFIX}/${GLIMRA_DATADIR}")

# The menu entry names the program by its full path: a prefix's bin folder, such as
# ~/.local/bin, is not always on the desktop session's PATH.
set(entry "${share}/applications/${GLIMRA_DESKTOP_ID}.desktop")
set(binary "${CMAKE_INSTALL_PREFIX}/${GLIMRA_BINDIR}/glimra-editor")
string(REGEX REPLACE "([\"`$\\])" "\\\\\\1" quoted "${binary}")
file(READ "${entry}" text)
string(REPLACE "\nExec=glimra-editor " "\nExec=\"${quoted}\" " text "${text}")
file(WRITE "${entry}" "${text}")

function(refresh tool)
    find_program(program ${tool} NO_CACHE)
    if(NOT program)
        message(STATUS "Not found, so the desktop is not told: ${tool}")
        return()
    endif()
    string(JOIN " " command ${tool} ${ARGN})
    execute_process(COMMAND ${program} ${ARGN} RESULT_VARIABLE failed)
    if(failed)
        message(WARNING "${command} failed (${failed})")
    else()
        message(STATUS "Refreshed: ${command}")
    endif()
endfunction()

refresh(update-mime-database "${share}/mime")
refresh(update-desktop-database -q "${share}/applications")
# An icon theme's cache hides icons newer than itself; where there is none, there is nothing
# to hide them.
if(EXISTS "${share}/icons/hicolor/icon-theme.cache")
    refresh(gtk-update-icon-cache -q -t -f "${share}/icons/hicolor")
endif()
