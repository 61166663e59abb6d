# Provides GTest::gtest, GTest::gtest_main, GTest::gmock and GTest::gmock_main.
# On Linux they are Debian's installed libraries. A cross build has no
# GoogleTest for its target, so it compiles the sources Debian ships in
# /usr/src/googletest (package googletest) with the cross compiler.
set(QUOLIX_GOOGLETEST_SOURCE_DIR /usr/src/googletest
    CACHE PATH "GoogleTest sources compiled for cross builds")

if(CMAKE_CROSSCOMPILING)
    if(NOT EXISTS ${QUOLIX_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
        message(FATAL_ERROR
            "No GoogleTest sources in ${QUOLIX_GOOGLETEST_SOURCE_DIR} (Debian package googletest)")
    endif()
    # Only the libraries: not installed with our program, not GoogleTest's own
    # tests; EXCLUDE_FROM_ALL builds them only for the test programs that link them.
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(${QUOLIX_GOOGLETEST_SOURCE_DIR}
        ${CMAKE_BINARY_DIR}/third_party/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
    find_package(GTest REQUIRED)
endif()
include(GoogleTest)
