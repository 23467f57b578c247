# Runs one case of the zux table and compares its exit status, standard output, standard error
# and, for cases that name a copy, the copied file afterwards with what the case expects.
#   CASE     name|status|stdout|stderr|file after ("-": not looked at, "=": untouched)|arguments...
#            In the texts and arguments @x@ is the examples directory, @w@ the case's scratch
#            directory, where a file @w@/NAME starts as a copy of @x@/NAME; an argument <PATH is
#            standard input, <<PATH standard input through a pipe.
#   ROUNDTRIP  FILE|INDENT instead: zux format of FILE gives the library's own save of it, to
#            standard output, from standard input and in place.
# Variables: ZUX, LIBRARY_SAVE, EXAMPLES, WORK.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

function(check what expected actual)
    if(NOT expected STREQUAL actual)
        message(FATAL_ERROR "${what}: expected\n[${expected}]\nbut got\n[${actual}]")
    endif()
endfunction()

# Runs zux with `arguments`; sets status, out and err in the caller.
function(run_zux)
    set(input)
    set(pipe)
    set(arguments)
    foreach(argument IN LISTS ARGN)
        if(argument MATCHES "^<<(.*)")
            set(pipe COMMAND cat "${CMAKE_MATCH_1}")
        elseif(argument MATCHES "^<(.*)")
            set(input INPUT_FILE "${CMAKE_MATCH_1}")
        else()
            list(APPEND arguments "${argument}")
        endif()
    endforeach()
    execute_process(${pipe} COMMAND "${ZUX}" ${arguments} ${input}
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    set(status "${status}" PARENT_SCOPE)
    set(out "${out}" PARENT_SCOPE)
    set(err "${err}" PARENT_SCOPE)
endfunction()

if(ROUNDTRIP)
    string(REPLACE "|" ";" fields "${ROUNDTRIP}")
    list(GET fields 0 name)
    list(GET fields 1 indent)
    execute_process(COMMAND "${LIBRARY_SAVE}" "${EXAMPLES}/${name}" "${WORK}/saved.xml" "${indent}"
        COMMAND_ERROR_IS_FATAL ANY)
    file(READ "${WORK}/saved.xml" saved)
    file(COPY "${EXAMPLES}/${name}" DESTINATION "${WORK}")
    foreach(form "--indent=${indent};${EXAMPLES}/${name}" "--indent=${indent};-;<${EXAMPLES}/${name}"
                 "--in-place;--indent=${indent};${WORK}/${name}")
        run_zux(format ${form})
        if(form MATCHES "in-place")
            file(READ "${WORK}/${name}" out)
        endif()
        check("status of zux format ${form}" 0 "${status}")
        check("zux format ${form}" "${saved}" "${out}")
        check("errors of zux format ${form}" "" "${err}")
    endforeach()
    return()
endif()

string(REPLACE "@x@" "${EXAMPLES}" CASE "${CASE}")
string(REPLACE "@w@" "${WORK}" CASE "${CASE}")
string(REPLACE "|" ";" fields "${CASE}")
list(POP_FRONT fields name status out err after)
foreach(argument IN LISTS fields)
    if(argument MATCHES "^${WORK}/(.*)")
        file(COPY "${EXAMPLES}/${CMAKE_MATCH_1}" DESTINATION "${WORK}")
        set(copy "${argument}")
        set(original "${EXAMPLES}/${CMAKE_MATCH_1}")
    endif()
endforeach()
set(expected_status "${status}")
set(expected_out "${out}")
set(expected_err "${err}")
run_zux(${fields})
check("exit status" "${expected_status}" "${status}")
check("standard output" "${expected_out}" "${out}")
check("standard error" "${expected_err}" "${err}")
if(after STREQUAL "=")
    file(READ "${original}" after)
endif()
if(NOT after STREQUAL "-")
    file(READ "${copy}" content)
    check("${copy} afterwards" "${after}" "${content}")
endif()
