# Manual pages quolix(1), quolix-cli(1) and quolix-counter-sim(1): written in
# scdoc under docs/man, turned into gzipped man pages in the build tree,
# installed with the programs.
find_program(QUOLIX_SCDOC scdoc)
if(NOT QUOLIX_SCDOC)
    message(FATAL_ERROR "scdoc is needed for the manual pages; "
                        "scripts/install-deps.sh installs it (Debian package scdoc)")
endif()

set(QUOLIX_MAN_OUTPUTS)
foreach(page quolix quolix-cli quolix-counter-sim)
    set(source ${PROJECT_SOURCE_DIR}/docs/man/${page}.1.scd)
    set(output ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -DSCDOC=${QUOLIX_SCDOC} -DINPUT=${source} -DOUTPUT=${output}
                -DVERSION=${PROJECT_VERSION} -P ${PROJECT_SOURCE_DIR}/cmake/ScdocToMan.cmake
        DEPENDS ${source} ${PROJECT_SOURCE_DIR}/cmake/ScdocToMan.cmake
        COMMENT "Manual page ${page}(1)"
        VERBATIM)
    list(APPEND QUOLIX_MAN_OUTPUTS ${output})
endforeach()
add_custom_target(quolix_man_pages ALL DEPENDS ${QUOLIX_MAN_OUTPUTS})
install(FILES ${QUOLIX_MAN_OUTPUTS} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
