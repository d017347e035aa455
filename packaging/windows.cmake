# The Windows download: one zip holding the program's folder, that is the
# executable, the voice box it plays from beside itself, a read-me for
# Windows users (CRLF line ends, for Notepad of any age) and the licence
# when the source tree has one. Made by every build of the Windows
# configuration: build-windows/velk-simulator-<version>-windows-x64.zip.
set(folder "velk-simulator-${PROJECT_VERSION}-windows-x64")
set(zip "${CMAKE_BINARY_DIR}/${folder}.zip")
set(readme "${CMAKE_CURRENT_BINARY_DIR}/README-Windows.txt")
configure_file(README-Windows.txt "${readme}" @ONLY NEWLINE_STYLE CRLF)
set(licence "${PROJECT_SOURCE_DIR}/LICENSE")
set(licence_dependency "")
if(EXISTS "${licence}")
    set(licence_dependency "${licence}")
endif()
add_custom_command(OUTPUT "${zip}"
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${folder} -DSTAGE=${CMAKE_CURRENT_BINARY_DIR}/zip -DZIP=${zip}
        "-DFILES=$<TARGET_FILE:velk-simulator>|${PROJECT_SOURCE_DIR}/resources/velk voicebox.gif|${readme}"
        -DLICENCE=${licence} -P "${CMAKE_CURRENT_SOURCE_DIR}/windows-zip.cmake"
    DEPENDS velk-simulator "${readme}" "${PROJECT_SOURCE_DIR}/resources/velk voicebox.gif" ${licence_dependency}
        windows-zip.cmake
    VERBATIM)
add_custom_target(windows-zip ALL DEPENDS "${zip}")
