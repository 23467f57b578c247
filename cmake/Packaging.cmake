# Debian packages made by CPack: cpack -G DEB in the build directory gives
#   libzux1     the two shared libraries (component runtime)
#   libzux-dev  headers, the CMake package and zux.pc (component development)
set(CPACK_PACKAGE_NAME "libzux")
set(CPACK_PACKAGE_VENDOR "The ZuX developers")
set(CPACK_PACKAGE_CONTACT "ZuX developers <zux@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_GENERATOR "DEB")

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "libs")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME "libzux${PROJECT_VERSION_MAJOR}")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "libpugixml1v5 (>= 1.13), libstdc++6, libc6")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME "libzux-dev")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION "libdevel")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
    "libzux${PROJECT_VERSION_MAJOR} (= ${PROJECT_VERSION}), libpugixml-dev (>= 1.13), libboost-dev (>= 1.74)")

include(CPack)
