# The Debian package: tests/package.sh builds it as `make package` does, in
# a folder of its own below this build tree, runs lintian, unpacks the .deb,
# validates what it installs and drives the installed program under an X
# server of its own. Serial, like the end-to-end test, so that the
# program's windows are not starved on a loaded machine.
add_test(NAME package
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/package.sh ${CMAKE_BINARY_DIR} ${PROJECT_SOURCE_DIR}/resources)
set_tests_properties(package PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE
    ENVIRONMENT "CMAKE=${CMAKE_COMMAND};SCREENSHOT_DIR=${CMAKE_BINARY_DIR}/screenshots")

# No symbol of the tests' hooks in any shipped binary (tests/shipped-symbols.sh).
add_test(NAME shipped-symbols
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/shipped-symbols.sh $<TARGET_FILE:velk-simulator>
        ${PROJECT_SOURCE_DIR}/build-windows ${PROJECT_SOURCE_DIR}/build-web)
