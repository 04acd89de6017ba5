# The core is built as libraries by layer, and each layer is compiled against a folder that holds
# links to the headers it may use and no others. An include against the grain then names a file
# that is not there, and the build fails at that line.
#
# A layer's files are given as folder globs ("split/*.cpp") or, where a folder holds more than one
# layer, as units: a path without extension ("platform/Form") stands for its .cpp among the
# sources and its .h among the headers, whichever of the two exists.

# The files a list of globs and units names, of the kind `extension` (".cpp" or ".h").
function(brenvik_layer_files out extension)
    set(files)
    foreach(pattern ${ARGN})
        if(pattern MATCHES "\\*")
            file(GLOB matched CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${pattern})
            list(FILTER matched INCLUDE REGEX "\\${extension}$")
            list(APPEND files ${matched})
        elseif(EXISTS ${PROJECT_SOURCE_DIR}/${pattern}${extension})
            list(APPEND files ${PROJECT_SOURCE_DIR}/${pattern}${extension})
        elseif(NOT EXISTS ${PROJECT_SOURCE_DIR}/${pattern}.cpp AND NOT EXISTS ${PROJECT_SOURCE_DIR}/${pattern}.h)
            message(FATAL_ERROR "Layer unit ${pattern} has neither a .cpp nor a .h")
        endif()
    endforeach()
    set(${out} ${files} PARENT_SCOPE)
endfunction()

# brenvik_check_members(<folder> <units>...)
# Stops the configuration when a source or header directly in <folder> is none of the units.
function(brenvik_check_members folder)
    file(GLOB present CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.h)
    foreach(file ${present})
        get_filename_component(unit ${file} NAME_WLE)
        if(NOT unit IN_LIST ARGN)
            message(FATAL_ERROR "${file} belongs to no layer: name it in a layer's list")
        endif()
    endforeach()
endfunction()

# brenvik_stage_headers(TARGET <globs and units> [EXCLUDE <regex>])
# Gives TARGET, and whoever links it, a folder of links to the headers named, leaving out those
# matching EXCLUDE.
function(brenvik_stage_headers target)
    cmake_parse_arguments(PARSE_ARGV 1 stage "" "EXCLUDE" "")
    set(root ${PROJECT_BINARY_DIR}/layers/${target})
    file(REMOVE_RECURSE ${root})
    brenvik_layer_files(headers .h ${stage_UNPARSED_ARGUMENTS})
    if(stage_EXCLUDE)
        list(FILTER headers EXCLUDE REGEX "${stage_EXCLUDE}")
    endif()
    foreach(header ${headers})
        file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${header})
        get_filename_component(folder ${root}/${relative} DIRECTORY)
        file(MAKE_DIRECTORY ${folder})
        file(CREATE_LINK ${header} ${root}/${relative} SYMBOLIC)
    endforeach()
    target_include_directories(${target} PUBLIC ${root})
endfunction()

# brenvik_layer(NAME SOURCES <globs and units> HEADERS <globs and units> [EXCLUDE <regex>])
# A static library of the sources named, which sees the headers named and those of the layers it
# links; EXCLUDE drops what matches it from both.
function(brenvik_layer name)
    cmake_parse_arguments(PARSE_ARGV 1 layer "" "EXCLUDE" "SOURCES;HEADERS")
    brenvik_layer_files(sources .cpp ${layer_SOURCES})
    set(exclude)
    if(layer_EXCLUDE)
        list(FILTER sources EXCLUDE REGEX "${layer_EXCLUDE}")
        set(exclude EXCLUDE "${layer_EXCLUDE}")
    endif()
    add_library(${name} STATIC ${sources})
    brenvik_stage_headers(${name} ${layer_HEADERS} ${exclude})
endfunction()
