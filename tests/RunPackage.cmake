# Builds the Debian packages of a build tree into a scratch directory and checks that the runtime
# package depends on pugixml's runtime package, and that the tool's package holds zux and its man
# page and depends on the runtime package of the same version.
# Variables: ZUX_BUILD_DIR, ZUX_WORK_DIR.
file(REMOVE_RECURSE "${ZUX_WORK_DIR}")
execute_process(COMMAND cpack -G DEB --config "${ZUX_BUILD_DIR}/CPackConfig.cmake" -B "${ZUX_WORK_DIR}"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cpack failed:\n${out}")
endif()
file(GLOB runtime "${ZUX_WORK_DIR}/libzux[0-9]*_*.deb")
file(GLOB development "${ZUX_WORK_DIR}/libzux-dev_*.deb")
if(NOT runtime OR NOT development)
    message(FATAL_ERROR "missing packages in ${ZUX_WORK_DIR}:\n${out}")
endif()
execute_process(COMMAND dpkg-deb --info ${runtime} OUTPUT_VARIABLE info RESULT_VARIABLE status)
message(STATUS "${info}")
if(NOT status EQUAL 0 OR NOT info MATCHES "Depends:[^\n]*libpugixml1v5")
    message(FATAL_ERROR "the runtime package does not depend on libpugixml1v5")
endif()
execute_process(COMMAND dpkg-deb --contents ${development} OUTPUT_VARIABLE contents)
foreach(file include/ZuX/ZuX.h include/ZuX/Version.h lib/cmake/ZuX/ZuXConfig.cmake pkgconfig/zux.pc)
    if(NOT contents MATCHES "${file}")
        message(FATAL_ERROR "libzux-dev lacks ${file}")
    endif()
endforeach()

file(GLOB tool "${ZUX_WORK_DIR}/zux_*.deb")
if(ZUX_TOOL AND NOT tool)
    message(FATAL_ERROR "missing the package zux in ${ZUX_WORK_DIR}:\n${out}")
elseif(ZUX_TOOL)
    execute_process(COMMAND dpkg-deb --info ${tool} OUTPUT_VARIABLE info)
    execute_process(COMMAND dpkg-deb --contents ${tool} OUTPUT_VARIABLE contents)
    execute_process(COMMAND dpkg-deb --contents ${runtime} OUTPUT_VARIABLE libraries)
    if(NOT info MATCHES "Depends: libzux[0-9]+ \\(= [0-9.]+\\)" OR NOT contents MATCHES "usr/bin/zux\n"
       OR NOT contents MATCHES "usr/share/man/man1/zux\\.1" OR libraries MATCHES "bin/")
        message(FATAL_ERROR "zux is not packaged on its own with its man page:\n${info}\n${contents}\n${libraries}")
    endif()
endif()
