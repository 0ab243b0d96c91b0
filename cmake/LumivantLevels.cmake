# Which folders of src/ each folder may include from. A lower level never includes a
# higher one: the core never sees the desktop program, the document never sees a widget
# folder, and the editors and the setup forms never see the main window (nor each other).
set(lumivant_core_folders base platform config model render comm)
set(lumivant_desktop_folders document editors setup_ui app)
set(lumivant_levels_base base platform)
set(lumivant_levels_platform base platform)
set(lumivant_levels_config base platform config)
set(lumivant_levels_model base platform config model)
set(lumivant_levels_render base platform config model render)
set(lumivant_levels_comm ${lumivant_core_folders})
set(lumivant_levels_document ${lumivant_core_folders} document)
set(lumivant_levels_editors ${lumivant_core_folders} document editors)
set(lumivant_levels_setup_ui ${lumivant_core_folders} document setup_ui)
set(lumivant_levels_app ${lumivant_core_folders} ${lumivant_desktop_folders})

# Fails the configuration when a source file includes from a folder above its own. The
# programs on the core (cli, sim, fwpack, server) may use every core folder but no desktop
# folder.
function(lumivant_check_include_levels)
    file(GLOB folders LIST_DIRECTORIES true RELATIVE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/src/*)
    set(known ${lumivant_core_folders} ${lumivant_desktop_folders})
    foreach(folder IN LISTS folders)
        if(NOT IS_DIRECTORY ${CMAKE_SOURCE_DIR}/src/${folder})
            continue()
        endif()
        if(DEFINED lumivant_levels_${folder})
            set(allowed ${lumivant_levels_${folder}})
        else()
            set(allowed ${folders})
            list(REMOVE_ITEM allowed ${lumivant_desktop_folders})
        endif()
        file(GLOB_RECURSE sources CONFIGURE_DEPENDS
            ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/src/${folder}/*.h)
        foreach(source IN LISTS sources)
            file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[a-z_]+/")
            foreach(line IN LISTS includes)
                string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([a-z_]+)/.*" "\\1" target "${line}")
                if(target IN_LIST known AND NOT target IN_LIST allowed)
                    file(RELATIVE_PATH shown ${CMAKE_SOURCE_DIR} ${source})
                    message(FATAL_ERROR "${shown} includes from src/${target}/, which is above "
                        "src/${folder}/ (see src/README.md)")
                endif()
            endforeach()
        endforeach()
    endforeach()
endfunction()
