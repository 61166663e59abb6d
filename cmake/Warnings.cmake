# Our own targets build warning-free; third-party headers come in as SYSTEM.
function(quolix_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
    # GCC 12 reports -Wrestrict inside libstdc++'s own std::string code at -O2
    # and above (a known false positive of that release); it says nothing
    # about our code, so it is not allowed to break optimised builds.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
endfunction()
