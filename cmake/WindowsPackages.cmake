# The packages for Windows users, made from brenvik.exe by the target windows-packages
# (scripts/package-windows): brenvik-<version>-win64.zip, the program and a LEGGIMI.txt to unpack
# anywhere, and brenvik-<version>-win64-setup.exe, an installer for the current user made by NSIS
# from packaging/windows/brenvik.nsi. Included by platform/win32/CMakeLists.txt, which draws the
# icon (BRENVIK_ICON).
set(BRENVIK_PUBLISHER Tavora) # the company the About window names
set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging/windows)
set(stage ${CMAKE_BINARY_DIR}/windows-packages)
set(zip ${CMAKE_BINARY_DIR}/brenvik-${PROJECT_VERSION}-win64.zip)
set(setup ${CMAKE_BINARY_DIR}/brenvik-${PROJECT_VERSION}-win64-setup.exe)

# LEGGIMI.txt as Notepad reads it on any Windows: UTF-8 with a byte-order mark, CRLF line ends.
file(READ ${packaging_dir}/LEGGIMI.txt leggimi)
string(ASCII 239 187 191 bom)
file(CONFIGURE OUTPUT ${stage}/LEGGIMI.txt CONTENT "${bom}${leggimi}" @ONLY NEWLINE_STYLE CRLF)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${packaging_dir}/LEGGIMI.txt)

# The program without its debugging symbols.
add_custom_command(OUTPUT ${stage}/brenvik.exe
    COMMAND ${CMAKE_STRIP} -o ${stage}/brenvik.exe $<TARGET_FILE:brenvik>
    DEPENDS brenvik VERBATIM)
add_custom_command(OUTPUT ${zip}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${zip}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip brenvik.exe LEGGIMI.txt
    WORKING_DIRECTORY ${stage}
    DEPENDS ${stage}/brenvik.exe ${stage}/LEGGIMI.txt VERBATIM)

find_program(BRENVIK_MAKENSIS makensis)
find_program(BRENVIK_PNGTOPNM pngtopnm)
find_program(BRENVIK_PPMTOBMP ppmtobmp)
if(BRENVIK_MAKENSIS AND BRENVIK_PNGTOPNM AND BRENVIK_PPMTOBMP)
    # The side picture of the installer's first and last page: a 24-bit BMP, as NSIS wants it.
    set(side ${stage}/side.bmp)
    add_custom_command(OUTPUT ${side}
        COMMAND ${BRENVIK_RSVG} -o ${stage}/side.png ${packaging_dir}/installer-side.svg
        COMMAND sh -c "'${BRENVIK_PNGTOPNM}' -quiet -mix -background=white '${stage}/side.png' | '${BRENVIK_PPMTOBMP}' -quiet -bpp=24 >'${side}'"
        DEPENDS ${packaging_dir}/installer-side.svg VERBATIM)
    add_custom_command(OUTPUT ${setup}
        COMMAND ${BRENVIK_MAKENSIS} -V2 -WX -DVERSION=${PROJECT_VERSION} -DPUBLISHER=${BRENVIK_PUBLISHER}
                -DSTAGE=${stage} -DICON=${BRENVIK_ICON} -DSIDE=${side} -DOUTFILE=${setup}
                ${packaging_dir}/brenvik.nsi
        DEPENDS ${stage}/brenvik.exe ${side} ${BRENVIK_ICON} ${packaging_dir}/brenvik.nsi
        VERBATIM)
    add_custom_target(windows-packages DEPENDS ${zip} ${setup})
else()
    add_custom_target(windows-packages
        COMMAND ${CMAKE_COMMAND} -E echo "makensis or netpbm is missing: scripts/package-windows installs them"
        COMMAND ${CMAKE_COMMAND} -E false VERBATIM)
endif()
