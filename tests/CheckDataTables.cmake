# Fails when the table files of data/ differ from what tools/make_tables.cpp writes
# from the shared reference tables today. Skipped without the shared folder.
if(NOT EXISTS "${SHARED}/reference")
    message(STATUS "no shared reference folder: nothing to compare")
    return()
endif()
set(out "${WORK}/data-tables")
file(REMOVE_RECURSE "${out}")
file(MAKE_DIRECTORY "${out}")
execute_process(COMMAND "${TOOL}" "${SHARED}/reference" "${out}" RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${TOOL} failed: ${rc}")
endif()
include("${CMAKE_CURRENT_LIST_DIR}/CompareWithData.cmake")
compare_with_data(kzev_make_tables "${out}"
    ZEV-PI.dat ZEV_JV1.dat ZEV_JV2.dat ZEV_JV3.dat ZEV_JV4.dat ZEV_JV5.dat ZEV_JV6.dat zev_str.dat)
