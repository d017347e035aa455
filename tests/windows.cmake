# The end-to-end tour of the Windows build under Wine: tests/endtoend.sh
# given the .exe that `make windows` builds (`make test` builds it first),
# in an X server and a Wine prefix of its own. Skipped when there is no
# .exe, as in a build without the Windows toolchain.
set(VELK_WINDOWS_EXE "${PROJECT_SOURCE_DIR}/build-windows/velk-simulator.exe" CACHE FILEPATH
    "The Windows build's executable, toured under Wine")
add_test(NAME endtoend-windows
    COMMAND bash -c "[ -f \"$1\" ] || exit 77; exec bash \"$2\" \"$1\""
        endtoend-windows "${VELK_WINDOWS_EXE}" "${CMAKE_CURRENT_SOURCE_DIR}/endtoend.sh")
set_tests_properties(endtoend-windows PROPERTIES
    TIMEOUT 900
    RUN_SERIAL TRUE
    SKIP_RETURN_CODE 77
    ENVIRONMENT "SCREENSHOT_DIR=${CMAKE_BINARY_DIR}/screenshots-windows;VELK_ZONES=${CMAKE_BINARY_DIR}/zones.txt")
# The backends' conformance table on Win32: its driver, built beside the
# .exe, run under Wine.
add_test(NAME conformance-windows
    COMMAND bash "${CMAKE_CURRENT_SOURCE_DIR}/conformance/win32.sh"
        "${PROJECT_SOURCE_DIR}/build-windows/tests/conformance/conformance.exe"
        "${PROJECT_SOURCE_DIR}/build-windows/wine-prefix")
set_tests_properties(conformance-windows PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE SKIP_RETURN_CODE 77)
