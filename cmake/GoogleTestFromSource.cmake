# SPDX-License-Identifier: GPL-3.0-or-later
# GoogleTest built with the project's compiler from the sources that Debian's
# googletest package installs, as static libraries behind the same
# GTest::gtest and GTest::gtest_main targets that find_package(GTest) gives.
set(VELMORA_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's source tree")
if(NOT EXISTS ${VELMORA_GTEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest's sources are missing at ${VELMORA_GTEST_SOURCE_DIR}"
                        " (Debian package googletest)")
endif()

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_SHARED_LIBS OFF CACHE BOOL "" FORCE)
add_subdirectory(${VELMORA_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
