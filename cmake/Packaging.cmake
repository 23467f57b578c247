# Debian packages made by CPack: cpack -G DEB in the build directory gives
#   libzux1     the two shared libraries (component runtime)
#   libzux-dev  headers, the CMake package and zux.pc (component development)
#   zux         the command-line tool and its man page (component tool), apart from the library
#               package as Debian wants programs: libzux1 holds nothing that a libzux2 would
#               also hold, so the two could be installed side by side
set(CPACK_PACKAGE_NAME "libzux")
set(CPACK_PACKAGE_VENDOR "The ZuX developers")
set(CPACK_PACKAGE_CONTACT "ZuX developers <zux@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_GENERATOR "DEB")

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development)
if(TARGET zux)
    list(APPEND CPACK_COMPONENTS_ALL tool)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "libs")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME "libzux${PROJECT_VERSION_MAJOR}")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "libpugixml1v5 (>= 1.13), libstdc++6, libc6")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME "libzux-dev")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION "libdevel")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
    "libzux${PROJECT_VERSION_MAJOR} (= ${PROJECT_VERSION}), libpugixml-dev (>= 1.13), libboost-dev (>= 1.74)")

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME "zux")
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION "text")
set(CPACK_DEBIAN_TOOL_PACKAGE_DEPENDS "libzux${PROJECT_VERSION_MAJOR} (= ${PROJECT_VERSION}), libstdc++6, libc6")
set(CPACK_DEBIAN_TOOL_DESCRIPTION "Query, check, format and edit XML files from the shell
zux query prints what an XPath expression selects, at FILE:LINE:COLUMN; zux check reports the
files that are not well-formed; zux format indents; zux edit changes a file through XPath and
replaces it through a new file, so that no failure leaves it half written.")

include(CPack)
