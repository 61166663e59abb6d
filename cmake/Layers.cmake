# quolix_include_root(<target> <folder>...)
#
# Gives <target> an include root of its own, made at configure time: a folder
# holding one symbolic link for each named folder of src/ and nothing else.
# A layer names itself and the layers below it, so an #include "<folder>/..."
# of a layer above it finds no such file and the build stops: the compiler,
# not a convention, keeps the layers one-way. The root is PUBLIC, so the
# layers above see everything below them.
function(quolix_include_root target)
    set(root ${PROJECT_BINARY_DIR}/layers/${target})
    # Removes the links, never what they point at, so a folder taken off the
    # list disappears from the root at the next configure.
    file(REMOVE_RECURSE ${root})
    file(MAKE_DIRECTORY ${root})
    foreach(folder IN LISTS ARGN)
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
    endforeach()
    target_include_directories(${target} PUBLIC ${root})
endfunction()
