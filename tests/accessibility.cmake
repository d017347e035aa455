# Fitting the desktop: the dashboard to assistive technology, and on
# screens of two, and of fractional, device pixels per pixel.
# The test listens to what is announced, which needs Qt's platform side.
velk_add_test(tst_accessibility SOURCES tst_accessibility.cpp dashboardfixture.h LIBS velkforms Qt6::GuiPrivate)

set(OFFSCREEN_2048 "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_SOURCE_DIR}/offscreen-2048x1536.json")
velk_add_test(tst_highdpi SOURCES tst_highdpi.cpp dashboardfixture.h LIBS velkforms
    ENV ${OFFSCREEN_2048} QT_SCALE_FACTOR=2)
