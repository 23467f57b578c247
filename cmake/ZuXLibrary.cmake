# zux_public_library(<target> [generated headers...])
# Makes <target> one of the package's libraries: versioned with SOVERSION = major, a run path of
# its own directory, its headers under include/<target>/ (plus the generated ones given) on the
# include path, and everything installed and exported when ZUX_INSTALL is on.
function(zux_public_library target)
    target_include_directories(${target} PUBLIC
        "$<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>"
        "$<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/include>"
        "$<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>")
    target_compile_features(${target} PUBLIC cxx_std_17)
    # Installed, each library finds the others in its own directory, whatever the prefix: a
    # program that names only that directory in its run path (-Wl,-rpath) finds them all.
    set_target_properties(${target} PROPERTIES
        VERSION ${PROJECT_VERSION}
        SOVERSION ${PROJECT_VERSION_MAJOR}
        EXPORT_NAME ${target}
        INSTALL_RPATH "$ORIGIN")
    add_library(ZuX::${target} ALIAS ${target})

    if(ZUX_INSTALL)
        install(TARGETS ${target} EXPORT ZuXTargets
            LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
            ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
            RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
        install(DIRECTORY "${PROJECT_SOURCE_DIR}/include/${target}"
            DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
        install(FILES ${ARGN} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${target} COMPONENT development)
    endif()
endfunction()
