# The end-to-end test: the built program in an X server of its own (Xvfb
# and openbox, started by the script), driven by real clicks and keys and
# judged by screenshots, which stay in the build folder's screenshots/.
# Serial, so that a loaded machine's other tests do not starve its windows.
# Each of its checks waits for what it needs; the whole tour, 80 s at rest,
# took over 600 on a 2-core machine at load 9 to 12 with every check passed.
add_test(NAME endtoend
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/endtoend.sh $<TARGET_FILE:velk-simulator>)
set_tests_properties(endtoend PROPERTIES
    TIMEOUT 1500
    RUN_SERIAL TRUE
    ENVIRONMENT "SCREENSHOT_DIR=${CMAKE_BINARY_DIR}/screenshots")

# A hostile neighbour on the X display (xneighbour.c): the tour sends the
# dashboard its synthetic events with odd data.
find_package(X11 REQUIRED)
add_executable(xneighbour xneighbour.c)
target_link_libraries(xneighbour PRIVATE X11::X11)
set_property(TEST endtoend APPEND PROPERTY ENVIRONMENT "XNEIGHBOUR=$<TARGET_FILE:xneighbour>")
