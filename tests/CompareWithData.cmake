# compare_with_data(<tool name> <folder written> <file>...): fails naming the files
# of data/ that differ from what the tool wrote into the folder.
function(compare_with_data tool written)
    set(stale "")
    foreach(name ${ARGN})
        execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${written}/${name}" "${DATA}/${name}"
            RESULT_VARIABLE differs)
        if(differs)
            list(APPEND stale ${name})
        endif()
    endforeach()
    if(stale)
        message(FATAL_ERROR "data/ differs from ${tool} output, run it again: ${stale}")
    endif()
endfunction()
