# The Windows download: one zip holding the program's folder, that is the
# executable, the voice box it plays from beside itself, a read-me for
# Windows users and the licence as LICENSE.txt when the source tree has one
# (both with CRLF line ends, for Notepad of any age). Made by every build
# of the Windows configuration:
# build-windows/velk-simulator-<version>-windows-x64.zip.
set(folder "velk-simulator-${PROJECT_VERSION}-windows-x64")
set(zip "${CMAKE_BINARY_DIR}/${folder}.zip")
set(readme "${CMAKE_CURRENT_BINARY_DIR}/README-Windows.txt")
configure_file(README-Windows.txt "${readme}" @ONLY NEWLINE_STYLE CRLF)
set(files "$<TARGET_FILE:velk-simulator>|${PROJECT_SOURCE_DIR}/resources/velk voicebox.gif|${readme}")
set(texts "${readme}")
if(EXISTS "${PROJECT_SOURCE_DIR}/LICENSE")
    # @ONLY: the licence has no @NAME@ in it, so it is copied as it is.
    set(licence "${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt")
    configure_file("${PROJECT_SOURCE_DIR}/LICENSE" "${licence}" @ONLY NEWLINE_STYLE CRLF)
    string(APPEND files "|${licence}")
    list(APPEND texts "${licence}")
endif()
add_custom_command(OUTPUT "${zip}"
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${folder} -DSTAGE=${CMAKE_CURRENT_BINARY_DIR}/zip -DZIP=${zip}
        "-DFILES=${files}" -P "${CMAKE_CURRENT_SOURCE_DIR}/windows-zip.cmake"
    DEPENDS velk-simulator ${texts} "${PROJECT_SOURCE_DIR}/resources/velk voicebox.gif" windows-zip.cmake
    VERBATIM)
add_custom_target(windows-zip ALL DEPENDS "${zip}")
