# The release package: `cmake --build --preset win32 --target package` makes
# Velkin-<file version>-win32.zip (win64 likewise) beside a .sha256 of it, holding Velkin.exe,
# README.md and LICENSE at its top level. Only the Windows builds have anything to ship.
if(NOT WIN32)
    return()
endif()

set(VELKIN_RELEASE_VERSION ${VELKIN_FILE_VERSION})
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(VELKIN_RELEASE_ARCH win64)
else()
    set(VELKIN_RELEASE_ARCH win32)
endif()

if(TARGET Velkin)
    install(TARGETS Velkin RUNTIME DESTINATION . COMPONENT release)
endif()
# OPTIONAL so that a missing file shows up as missing from the package, which
# tests/release checks, rather than as a configure error.
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE
        DESTINATION . COMPONENT release OPTIONAL)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Velkin)
set(CPACK_PACKAGE_VENDOR "${VELKIN_AUTHOR}")
set(CPACK_PACKAGE_VERSION ${VELKIN_RELEASE_VERSION})
set(CPACK_SYSTEM_NAME ${VELKIN_RELEASE_ARCH})
set(VELKIN_RELEASE_PACKAGE Velkin-${VELKIN_RELEASE_VERSION}-${VELKIN_RELEASE_ARCH})
set(CPACK_PACKAGE_FILE_NAME ${VELKIN_RELEASE_PACKAGE})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
# Only what the release component installs: never a test program or a library.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};release;/")
set(CPACK_STRIP_FILES OFF)
include(CPack)
