# moc runs for a target when its autogen timestamp is out of date, but adding a
# source file to a folder does not make it so: the new file's "#include
# "x.moc"" then fails in a build folder that already exists. The sources are
# globbed with CONFIGURE_DEPENDS, so CMake configures again when a file is
# added; at that moment this drops the timestamp of every target whose list of
# sources changed, and moc runs again.
function(vantel_autogen_follows_sources target)
    set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen_sources.txt)
    string(JOIN "\n" now ${ARGN})
    if(EXISTS ${list_file})
        file(READ ${list_file} before)
        if(NOT before STREQUAL now)
            file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
        endif()
    endif()
    file(WRITE ${list_file} "${now}")
endfunction()
