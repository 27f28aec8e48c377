# The program's libraries and programs name no place in the build folder: a
# program built in a shared folder must not start whatever stands there later.
# Debug information names the folder it was compiled in, and is no place the
# program looks: it is stripped before the check.
# Arguments: -DBUILD=<build folder> -DFILES=<files separated by ;> -DWORK=<scratch folder>
file(MAKE_DIRECTORY "${WORK}")
set(found "")
foreach(built IN LISTS FILES)
    get_filename_component(name "${built}" NAME)
    set(stripped "${WORK}/${name}")
    execute_process(COMMAND objcopy --strip-debug "${built}" "${stripped}" RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "cannot strip ${built}")
    endif()
    execute_process(COMMAND strings -a "${stripped}" OUTPUT_VARIABLE text RESULT_VARIABLE failed)
    file(REMOVE "${stripped}")
    if(failed)
        message(FATAL_ERROR "cannot read the strings of ${built}")
    endif()
    string(FIND "${text}" "${BUILD}" at)
    if(NOT at EQUAL -1)
        list(APPEND found "${name}")
    endif()
endforeach()
if(found)
    message(FATAL_ERROR "the build folder ${BUILD} is named in: ${found}")
endif()
