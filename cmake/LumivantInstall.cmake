# Installation layout and the Debian package (make package).
include(GNUInstallDirs)

set(lumivant_programs lumivant lumivant-cli)
foreach(program lumivant-sim lumivant-fwpack lumivant-server)
    if(TARGET ${program})
        list(APPEND lumivant_programs ${program})
    endif()
endforeach()
install(TARGETS ${lumivant_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(packaging ${CMAKE_SOURCE_DIR}/packaging)
# share/lumivant also tells the program that it runs installed (its settings then live in
# the user's configuration folder). The translations are compiled into the program.
install(FILES ${CMAKE_SOURCE_DIR}/examples/demo.ledprj
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lumivant/examples)
install(FILES ${packaging}/lumivant.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/lumivant-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
    RENAME lumivant.xml)
install(FILES ${packaging}/io.github.lumivant.Lumivant.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(icon_root ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${packaging}/icons/lumivant.svg DESTINATION ${icon_root}/scalable/apps)
install(FILES ${packaging}/icons/application-x-lumivant-project.svg
    DESTINATION ${icon_root}/scalable/mimetypes)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${packaging}/icons/${size}/lumivant.png
        DESTINATION ${icon_root}/${size}x${size}/apps)
    install(FILES ${packaging}/icons/${size}/application-x-lumivant-project.png
        DESTINATION ${icon_root}/${size}x${size}/mimetypes)
endforeach()

foreach(page lumivant lumivant-cli lumivant-sim lumivant-fwpack lumivant-server)
    set(compressed ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
    add_custom_command(OUTPUT ${compressed}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND gzip -9 -n -c ${packaging}/man/${page}.1 > ${compressed}
        DEPENDS ${packaging}/man/${page}.1 VERBATIM)
    list(APPEND man_pages ${compressed})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The server as a user service, one instance per project.
if(TARGET lumivant-server)
    install(FILES ${packaging}/lumivant-server@.service DESTINATION lib/systemd/user)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumivant)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Lumivant developers <developers@lumivant.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Design programs for LED message displays and send them to their controllers")
# CPack puts the summary first and indents every line of the description by one blank.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Lumivant builds the content of LED message displays driven by RZ series
controller cards: rich text, pictures, tables, clocks, dates and countdowns in
the colours the display has. It previews programs with their entry effects,
sends them over a serial line or the network or writes them to a USB disk, and
configures the controller.
.
The package holds the desktop program lumivant, the command-line tool
lumivant-cli, the controller simulator lumivant-sim, the firmware packager
lumivant-fwpack and lumivant-server, which lets a shop change and send its
signs from a web page or over HTTP.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The renderer's fonts (Latin text and Chinese text), and the Qt plugins the programs load by
# themselves: the SVG icon engine of the tree and the toolbar, TIFF pictures, and the SQLite
# driver of the delivery receipts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-dejavu-core, fonts-wqy-zenhei, fontconfig, libqt6svg6, qt6-image-formats-plugins, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_INSTALL_DIRECTORY lumivant)
set(CPACK_SET_DESTDIR OFF)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
