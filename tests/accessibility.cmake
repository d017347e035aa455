# Fitting the desktop: the dashboard to assistive technology, and on
# screens of two, and of fractional, device pixels per pixel.

# The test listens to what is announced, which needs Qt's platform side.
velk_add_test(tst_accessibility SOURCES tst_accessibility.cpp dashboardfixture.h LIBS velkforms Qt6::GuiPrivate)

# A screen of 2048 x 1536 device pixels holds the window at every scale.
set(OFFSCREEN_2048 "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_SOURCE_DIR}/offscreen-2048x1536.json")
# Its renders stay in the build folder's screenshots/ for a look by eye.
set(SHOTS "SCREENSHOT_DIR=${CMAKE_BINARY_DIR}/screenshots")
velk_add_test(tst_highdpi SOURCES tst_highdpi.cpp dashboardfixture.h LIBS velkforms
    ENV ${OFFSCREEN_2048} QT_SCALE_FACTOR=2 ${SHOTS})
add_custom_command(TARGET tst_highdpi POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
        "${PROJECT_SOURCE_DIR}/resources/velk voicebox.gif" "$<TARGET_FILE_DIR:tst_highdpi>/velk voicebox.gif")
foreach(scale 1.25 1.5 1.75)
    add_test(NAME tst_highdpi_${scale} COMMAND tst_highdpi)
    set_tests_properties(tst_highdpi_${scale} PROPERTIES TIMEOUT 300
        ENVIRONMENT "${OFFSCREEN_2048};QT_SCALE_FACTOR=${scale};${SHOTS}")
endforeach()
