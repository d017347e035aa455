# Window tests link the program's forms and pictures; the dashboard's load
# looks for the voice box beside the test executable, as beside the program.
foreach(test tst_dashboard tst_dashboardpixels tst_disclaimer)
    velk_add_test(${test} SOURCES ${test}.cpp dashboardfixture.h LIBS velkforms)
    add_custom_command(TARGET ${test} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different
            "${PROJECT_SOURCE_DIR}/resources/velk voicebox.gif" "$<TARGET_FILE_DIR:${test}>/velk voicebox.gif")
endforeach()
# The windows' tables against the designed layout: no display, no backend.
add_executable(tst_windowtables tst_windowtables.cpp)
target_link_libraries(tst_windowtables PRIVATE velkwindows Qt6::Test)
add_test(NAME tst_windowtables COMMAND tst_windowtables)
