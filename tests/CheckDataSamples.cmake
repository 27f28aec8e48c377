# Fails when the sample projects of data/ differ from what tools/make_projects.cpp
# writes from the makers' workbooks of data/ today.
set(out "${WORK}/data-samples")
file(REMOVE_RECURSE "${out}")
file(COPY "${DATA}/" DESTINATION "${out}")
execute_process(COMMAND "${TOOL}" "${out}" RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${TOOL} failed: ${rc}")
endif()
include("${CMAKE_CURRENT_LIST_DIR}/CompareWithData.cmake")
compare_with_data(kzev_make_projects "${out}" Vzor-kancelar.kzv Vzor-hala.kzv Vzor-silnice.kzv)
