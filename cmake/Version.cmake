# The project's version reaches the programs through one generated header,
# so that --version, the About box and the package all say the same. The
# header lives in the build tree: the number is set only in project().
configure_file(${CMAKE_CURRENT_LIST_DIR}/QuolixVersion.h.in
               ${CMAKE_BINARY_DIR}/generated/QuolixVersion.h @ONLY)
add_library(quolix_version INTERFACE)
target_include_directories(quolix_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
