# The program as a desktop citizen: `cmake --install` puts the program, its menu entry, its icon
# in the hicolor theme and its software-centre description in place, and `cpack -G DEB` makes a
# Debian package of the same files.
include(GNUInstallDirs)

set(BRENVIK_APP_ID example.tavora.Brenvik)
set(brenvik_desktop_files ${PROJECT_SOURCE_DIR}/resources/desktop)

install(TARGETS brenvik RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${brenvik_desktop_files}/${BRENVIK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${brenvik_desktop_files}/${BRENVIK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon: the emblem itself for the sizes that scale, and PNGs drawn from it at build time for
# the fixed sizes (the 16-pixel one from its simplified drawing).
install(FILES ${PROJECT_SOURCE_DIR}/resources/brenvik.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${BRENVIK_APP_ID}.svg)
find_package(Qt6 REQUIRED COMPONENTS Gui Svg)
add_executable(brenvik-render-icon platform/qt/RenderIcon.cpp)
target_link_libraries(brenvik-render-icon PRIVATE Qt6::Gui Qt6::Svg)
set(brenvik_icon_pngs)
foreach(side 16 22 24 32 48 64 128 256)
    if(side EQUAL 16)
        set(drawing ${PROJECT_SOURCE_DIR}/resources/brenvik_16.svg)
    else()
        set(drawing ${PROJECT_SOURCE_DIR}/resources/brenvik.svg)
    endif()
    set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${side}x${side}/${BRENVIK_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${side}x${side}
        COMMAND brenvik-render-icon ${drawing} ${side} ${png}
        DEPENDS brenvik-render-icon ${drawing}
        VERBATIM)
    list(APPEND brenvik_icon_pngs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${side}x${side}/apps)
endforeach()
add_custom_target(brenvik-icons ALL DEPENDS ${brenvik_icon_pngs})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brenvik)
set(CPACK_PACKAGE_VENDOR Tavora)
set(CPACK_PACKAGE_CONTACT "Staff di sviluppo Brenvik <info@tavora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "divide un file in parti numerate e le riunisce")
# The summary above is the description's first line; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Brenvik taglia un file in parti numerate e scrive accanto a esse uno script\n"
    "batch di Windows che ricompone il file con COPY /B. In modalità Unisci Files\n"
    "riunisce le parti in un solo file.")
string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries' packages come from the program's own links; what it reads at run time without
# linking it is named here: Qt's Italian texts, and the faces the windows were laid out with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
include(CPack)
