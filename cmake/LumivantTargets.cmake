# lumivant_add_library(NAME DIR DEPS...): a core level built from every source file of DIR.
function(lumivant_add_library name dir)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
        ${CMAKE_SOURCE_DIR}/src/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/src/${dir}/*.h)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# The core levels must never pull in Qt Widgets: the command-line tool, the simulator
# and the tests run without a display.
function(lumivant_check_no_widgets target)
    get_target_property(libs ${target} INTERFACE_LINK_LIBRARIES)
    foreach(lib IN LISTS libs)
        if(lib MATCHES "Widgets")
            message(FATAL_ERROR "${target} links ${lib}; the core library must stay free of Qt Widgets")
        endif()
    endforeach()
endfunction()
