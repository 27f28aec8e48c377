# Helpers shared by every folder.

# Warnings are errors in our own code.
function(kzev_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror ${KZEV_CLANG_ONLY_WARNINGS})
endfunction()

# kzev_library(<name> [QT] [DIRS <subfolders>...] [DEPS <targets>...])
# One library per folder: every .cpp of the folder (and of the given subfolders).
# Headless libraries must not name QT; the layout test checks they include no Qt header.
function(kzev_library name)
    cmake_parse_arguments(ARG "QT" "" "DIRS;DEPS" ${ARGN})
    # Headers are listed too, so that moc sees a new Q_OBJECT class in an existing build folder.
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    foreach(dir IN LISTS ARG_DIRS)
        file(GLOB more CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.h)
        list(APPEND sources ${more})
    endforeach()
    set(compiled ${sources})
    list(FILTER compiled INCLUDE REGEX "\\.cpp$")
    if(NOT compiled)
        list(APPEND sources ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    if(ARG_QT)
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
        target_link_libraries(${name} PUBLIC Qt6::Widgets)
    endif()
    kzev_warnings(${name})
endfunction()

# The shared data folder sits beside the checkout; a worktree under the checkout's wt/ is two levels deeper.
get_filename_component(KZEV_SHARED_DIR "${PROJECT_SOURCE_DIR}/../shared" ABSOLUTE)
foreach(up IN ITEMS "../.." "../../..")
    if(NOT EXISTS "${KZEV_SHARED_DIR}/photometry" AND EXISTS "${PROJECT_SOURCE_DIR}/${up}/shared/photometry")
        get_filename_component(KZEV_SHARED_DIR "${PROJECT_SOURCE_DIR}/${up}/shared" ABSOLUTE)
    endif()
endforeach()
if(NOT EXISTS "${KZEV_SHARED_DIR}/photometry")
    message(WARNING "No photometric fixtures at ${KZEV_SHARED_DIR}/photometry: the tests that read them will fail.")
endif()

# kzev_test_suite(<name> LABEL unit|gui|gl [DIRS ...] [DEPS ...])
# One GoogleTest program per folder of tests, registered with ctest under its label.
function(kzev_test_suite name)
    cmake_parse_arguments(ARG "" "LABEL" "DIRS;DEPS" ${ARGN})
    set(sources)
    foreach(dir IN LISTS ARG_DIRS)
        file(GLOB more CONFIGURE_DEPENDS ${dir}/*.cpp)
        list(APPEND sources ${more})
    endforeach()
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    if(ARG_LABEL STREQUAL "unit")
        target_link_libraries(${name} PRIVATE kzev_test_support GTest::gtest_main GTest::gmock ${ARG_DEPS})
    else()
        target_link_libraries(${name} PRIVATE kzev_test_support kzev_test_gui_main GTest::gtest GTest::gmock ${ARG_DEPS})
    endif()
    target_compile_definitions(${name} PRIVATE
        KZEV_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        KZEV_BINARY_DIR="${PROJECT_BINARY_DIR}"
        KZEV_SHARED_DIR="${KZEV_SHARED_DIR}")
    kzev_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS ${ARG_LABEL} TIMEOUT 600)
    if(ARG_LABEL STREQUAL "gui")
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    endif()
endfunction()
