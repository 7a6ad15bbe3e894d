# SPDX-License-Identifier: MIT
# How build-qt.sh configures the static Qt for Windows (an initial cache for Qt's CMake).
# The cached Qt is named by a hash of this file and the toolchain file: a change here
# builds a new one.
set(CMAKE_BUILD_TYPE Release CACHE STRING "")
set(BUILD_SHARED_LIBS OFF CACHE BOOL "")
set(QT_BUILD_EXAMPLES OFF CACHE BOOL "")
set(QT_BUILD_TESTS OFF CACHE BOOL "")
set(QT_BUILD_BENCHMARKS OFF CACHE BOOL "")

# Only what the editor and its tests use.
foreach(unused sql network dbus vulkan printsupport concurrent xml jpeg icu)
    set(FEATURE_${unused} OFF CACHE BOOL "")
endforeach()
# OpenGL goes off with its dynamic variant: the feature alone leaves dynamic GL code in the
# platform plugin.
set(INPUT_opengl no CACHE STRING "")
foreach(gl opengl opengl_dynamic dynamicgl)
    set(FEATURE_${gl} OFF CACHE BOOL "")
endforeach()
# Debian's source lacks the WinTab headers, so tablet events are left out (pen input
# through WM_POINTER stays).
set(FEATURE_tabletevent OFF CACHE BOOL "")
# The DirectWrite font database is compiled only with Direct2D on; Direct2D 1.1 goes off,
# which skips a second copy of the platform plugin drawn with it.
set(FEATURE_direct2d ON CACHE BOOL "")
set(FEATURE_direct2d1_1 OFF CACHE BOOL "")
# The target has none of these system libraries: Qt's bundled copies instead.
foreach(bundled zlib pcre2 harfbuzz freetype png doubleconversion)
    set(FEATURE_system_${bundled} OFF CACHE BOOL "")
endforeach()
