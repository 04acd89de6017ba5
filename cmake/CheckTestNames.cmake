# cmake -DROOT=<tests folder> -P CheckTestNames.cmake
# Fails, naming each offender, when a test suite is not named after its file: the suites of
# FooTest.cpp are FooTest, and FooTestSlow for its slow cases, so that a failing test's name says
# where to look.
cmake_minimum_required(VERSION 3.20)
set(offences)
file(GLOB_RECURSE files ${ROOT}/*.cpp)
foreach(file ${files})
    get_filename_component(stem ${file} NAME_WE)
    file(STRINGS ${file} tests REGEX "^TEST(_F|_P)?\\(")
    foreach(line IN LISTS tests)
        string(REGEX REPLACE "^TEST(_F|_P)?\\(([A-Za-z0-9_]*).*" "\\2" suite "${line}")
        if(NOT suite STREQUAL stem AND NOT suite STREQUAL "${stem}Slow")
            file(RELATIVE_PATH shown ${ROOT} ${file})
            list(APPEND offences "${shown}: ${suite}")
        endif()
    endforeach()
endforeach()
if(offences)
    list(REMOVE_DUPLICATES offences)
    list(JOIN offences "\n" shown)
    message(FATAL_ERROR "Test suites not named after their file:\n${shown}")
endif()
