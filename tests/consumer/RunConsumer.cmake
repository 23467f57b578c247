# Installs the build into a scratch prefix, then builds the consumer against it twice, through
# find_package and through pkg-config, builds it a third time against the build tree itself
# (find_package with ZuX_DIR, nothing installed), a fourth time with ZuX's sources inside its own
# build (FetchContent), and runs all four programs. A program linked with nothing but
# -lZuX -lZuUtils -Wl,-rpath,PREFIX/lib runs without LD_LIBRARY_PATH, and so does the installed zux.
# Variables: ZUX_BUILD_DIR, ZUX_SOURCE_DIR, ZUX_CONSUMER_SOURCE, ZUX_WORK_DIR, ZUX_CXX_COMPILER.
set(prefix "${ZUX_WORK_DIR}/prefix")
file(REMOVE_RECURSE "${ZUX_WORK_DIR}")

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "failed (${status}): ${ARGN}\n${out}")
    endif()
    message(STATUS "ok: ${ARGN}")
endfunction()

run(${CMAKE_COMMAND} --install "${ZUX_BUILD_DIR}" --prefix "${prefix}")
file(GLOB_RECURSE pcfile "${prefix}/*/zux.pc")
get_filename_component(pcdir "${pcfile}" DIRECTORY)
get_filename_component(libdir "${pcdir}" DIRECTORY)

# find_package(ZuX CONFIG REQUIRED)
run(${CMAKE_COMMAND} -S "${ZUX_CONSUMER_SOURCE}" -B "${ZUX_WORK_DIR}/cmake-build"
    "-DCMAKE_PREFIX_PATH=${prefix}" "-DCMAKE_CXX_COMPILER=${ZUX_CXX_COMPILER}")
run(${CMAKE_COMMAND} --build "${ZUX_WORK_DIR}/cmake-build")
run(${CMAKE_COMMAND} -E env "LD_LIBRARY_PATH=${libdir}" "${ZUX_WORK_DIR}/cmake-build/consumer")

# pkg-config --cflags --libs zux
execute_process(COMMAND ${CMAKE_COMMAND} -E env "PKG_CONFIG_PATH=${pcdir}" pkg-config --cflags --libs zux
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "pkg-config does not know zux")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")
run(${ZUX_CXX_COMPILER} -std=c++17 "${ZUX_CONSUMER_SOURCE}/consumer.cpp" ${flags} -o "${ZUX_WORK_DIR}/consumer-pc")
run(${CMAKE_COMMAND} -E env "LD_LIBRARY_PATH=${libdir}" "${ZUX_WORK_DIR}/consumer-pc")

# The run path the program names is enough: the libraries find each other in their own directory.
run(${ZUX_CXX_COMPILER} -std=c++17 "${ZUX_CONSUMER_SOURCE}/loader.cpp" "-I${prefix}/include" "-L${libdir}"
    -Wl,--as-needed -lZuX -lZuUtils "-Wl,-rpath,${libdir}" -o "${ZUX_WORK_DIR}/loader")
run(${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH "${ZUX_WORK_DIR}/loader")
if(EXISTS "${prefix}/bin/zux")
    run(${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH "${prefix}/bin/zux" check
        "${ZUX_SOURCE_DIR}/examples/sample.xml")
    file(GLOB page "${prefix}/share/man/man1/zux.1*")
    if(NOT page)
        message(FATAL_ERROR "the man page zux.1 is not installed")
    endif()
endif()

# find_package(ZuX) from the build tree: its package names the build's own libraries and headers
# (never the private headers beside the sources), and the program runs from the build's run path.
file(READ "${ZUX_BUILD_DIR}/ZuXTargets.cmake" targets)
string(FIND "${targets}" "${ZUX_SOURCE_DIR}/src/" private)
if(NOT private EQUAL -1)
    message(FATAL_ERROR "the build tree's package names the sources' private headers:\n${targets}")
endif()
run(${CMAKE_COMMAND} -S "${ZUX_CONSUMER_SOURCE}" -B "${ZUX_WORK_DIR}/build-tree-build"
    "-DZuX_DIR=${ZUX_BUILD_DIR}" "-DCMAKE_CXX_COMPILER=${ZUX_CXX_COMPILER}")
file(STRINGS "${ZUX_WORK_DIR}/build-tree-build/CMakeCache.txt" found REGEX "^ZuX_DIR:")
if(NOT found MATCHES "^ZuX_DIR:[A-Z]+=(.*)$" OR NOT CMAKE_MATCH_1 STREQUAL ZUX_BUILD_DIR)
    message(FATAL_ERROR "the consumer did not find ZuX in the build tree ${ZUX_BUILD_DIR}: ${found}")
endif()
run(${CMAKE_COMMAND} --build "${ZUX_WORK_DIR}/build-tree-build")
run(${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH "${ZUX_WORK_DIR}/build-tree-build/consumer")

# FetchContent_Declare(ZuX SOURCE_DIR ...): ZuX as a subdirectory of the consumer's build, with the
# consumer's build type (none) and without ZuX's tests, examples and fuzzers.
run(${CMAKE_COMMAND} -S "${ZUX_CONSUMER_SOURCE}" -B "${ZUX_WORK_DIR}/subdirectory-build"
    "-DZUX_SOURCE_DIR=${ZUX_SOURCE_DIR}" "-DCMAKE_CXX_COMPILER=${ZUX_CXX_COMPILER}")
execute_process(COMMAND ${CMAKE_COMMAND} -L -N "${ZUX_WORK_DIR}/subdirectory-build" OUTPUT_VARIABLE cache)
if(NOT cache MATCHES "CMAKE_BUILD_TYPE:STRING=\n" OR cache MATCHES "ZUX_BUILD_TESTS:BOOL=ON")
    message(FATAL_ERROR "ZuX as a subdirectory changed the consumer's build type or builds its tests:\n${cache}")
endif()
run(${CMAKE_COMMAND} --build "${ZUX_WORK_DIR}/subdirectory-build" -j 2)
run("${ZUX_WORK_DIR}/subdirectory-build/consumer")
