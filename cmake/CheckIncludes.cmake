# cmake -DROOT=<source tree> -P CheckIncludes.cmake
# Fails, naming each offending include, when a quoted include in the tree's sources does not name its
# file from one of the include roots' folders: a relative ("../x.h") or bare ("x.h") include is
# found beside the including file, whatever layer that file belongs to.
cmake_minimum_required(VERSION 3.20)
set(folders app split join mainwindow dialogs platform bench tests resources)
# The first folder of an include: the layout's, the tests' support and front-end helpers, the
# benchmark's.
set(roots app split join mainwindow dialogs platform support win32 bench)
set(offences)
foreach(folder ${folders})
    file(GLOB_RECURSE files ${ROOT}/${folder}/*.cpp ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.rc)
    foreach(file ${files})
        file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*" "\\1" include "${line}")
            string(REGEX MATCH "^[^/]*" first "${include}")
            if(include MATCHES "(^|/)\\.\\.?/" OR NOT include MATCHES "/" OR NOT first IN_LIST roots)
                file(RELATIVE_PATH shown ${ROOT} ${file})
                list(APPEND offences "${shown}: \"${include}\"")
            endif()
        endforeach()
    endforeach()
endforeach()
if(offences)
    list(JOIN offences "\n" shown)
    message(FATAL_ERROR "Includes that do not name their file from a root folder:\n${shown}")
endif()
