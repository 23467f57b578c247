# Installs the build into a scratch prefix, builds the consumer against it and runs it.
# Variables: ZUX_BUILD_DIR, ZUX_CONSUMER_SOURCE, ZUX_WORK_DIR, ZUX_CXX_COMPILER.
set(prefix "${ZUX_WORK_DIR}/prefix")
file(REMOVE_RECURSE "${ZUX_WORK_DIR}")

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "failed (${status}): ${ARGN}")
    endif()
endfunction()

run(${CMAKE_COMMAND} --install "${ZUX_BUILD_DIR}" --prefix "${prefix}")
run(${CMAKE_COMMAND} -S "${ZUX_CONSUMER_SOURCE}" -B "${ZUX_WORK_DIR}/build"
    "-DCMAKE_PREFIX_PATH=${prefix}" "-DCMAKE_CXX_COMPILER=${ZUX_CXX_COMPILER}")
run(${CMAKE_COMMAND} --build "${ZUX_WORK_DIR}/build")
run(${CMAKE_COMMAND} -E env "LD_LIBRARY_PATH=${prefix}/lib:${prefix}/lib64" "${ZUX_WORK_DIR}/build/consumer")
