# What the program must not do for nothing, counted rather than timed:
# decodes, frames and loaded plugins, which do not depend on the machine.
# Timings are the bench's (make bench), never a test's.
velk_add_test(tst_performance SOURCES tst_performance.cpp dashboardfixture.h LIBS velkforms)
add_custom_command(TARGET tst_performance POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
        "${PROJECT_SOURCE_DIR}/resources/velk voicebox.gif" "$<TARGET_FILE_DIR:tst_performance>/velk voicebox.gif")
# A picture among the program's that will not decode, for the test that it
# is said once, with the decoder's reason.
file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/broken-pictures/broken.bmp" "BM, and then no bitmap at all\n")
qt_add_resources(tst_performance broken_pictures PREFIX /pictures BASE "${CMAKE_CURRENT_BINARY_DIR}/broken-pictures"
    FILES "${CMAKE_CURRENT_BINARY_DIR}/broken-pictures/broken.bmp")
