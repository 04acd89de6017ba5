# The core is built as libraries by layer, and each layer is compiled against a folder that holds
# links to the headers it may use and no others. An include against the grain then names a file
# that is not there, and the build fails at that line.

# brenvik_stage_headers(TARGET <globs> [EXCLUDE <regex>])
# Gives TARGET, and whoever links it, a folder of links to the headers matching the globs
# (relative to the project root), leaving out those matching EXCLUDE.
function(brenvik_stage_headers target)
    cmake_parse_arguments(PARSE_ARGV 1 stage "" "EXCLUDE" "")
    set(root ${PROJECT_BINARY_DIR}/layers/${target})
    file(REMOVE_RECURSE ${root})
    foreach(pattern ${stage_UNPARSED_ARGUMENTS})
        file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${pattern})
        if(stage_EXCLUDE)
            list(FILTER headers EXCLUDE REGEX "${stage_EXCLUDE}")
        endif()
        foreach(header ${headers})
            file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${header})
            get_filename_component(folder ${root}/${relative} DIRECTORY)
            file(MAKE_DIRECTORY ${folder})
            file(CREATE_LINK ${header} ${root}/${relative} SYMBOLIC)
        endforeach()
    endforeach()
    target_include_directories(${target} PUBLIC ${root})
endfunction()

# brenvik_layer(NAME SOURCES <globs> HEADERS <globs> [EXCLUDE <regex>])
# A static library of the sources matching SOURCES, which sees the headers matching HEADERS and
# those of the layers it links; EXCLUDE drops what matches it from both.
function(brenvik_layer name)
    cmake_parse_arguments(PARSE_ARGV 1 layer "" "EXCLUDE" "SOURCES;HEADERS")
    set(sources)
    foreach(pattern ${layer_SOURCES})
        file(GLOB matched CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${pattern})
        list(APPEND sources ${matched})
    endforeach()
    set(exclude)
    if(layer_EXCLUDE)
        list(FILTER sources EXCLUDE REGEX "${layer_EXCLUDE}")
        set(exclude EXCLUDE "${layer_EXCLUDE}")
    endif()
    add_library(${name} STATIC ${sources})
    brenvik_stage_headers(${name} ${layer_HEADERS} ${exclude})
endfunction()
