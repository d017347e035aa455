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

# The Windows build to a screen reader: tests/msaaclient.c, built with the
# MinGW-w64 compiler, drives it through MSAA from another process.
find_program(VELK_MINGW_CC x86_64-w64-mingw32-gcc)
if(VELK_MINGW_CC)
    set(client "${CMAKE_CURRENT_BINARY_DIR}/msaaclient.exe")
    add_custom_command(OUTPUT "${client}"
        COMMAND "${VELK_MINGW_CC}" -O1 -Wall -Wextra -o "${client}" "${CMAKE_CURRENT_SOURCE_DIR}/msaaclient.c"
            -luuid -loleacc -lole32 -loleaut32 -luser32
        DEPENDS msaaclient.c accessiblenames.h VERBATIM)
    add_custom_target(msaaclient ALL DEPENDS "${client}")
    add_test(NAME msaa-windows
        COMMAND bash -c "[ -f \"$1\" ] || exit 77; exec bash \"$2\" \"$1\" \"$3\""
            msaa-windows "${VELK_WINDOWS_EXE}" "${CMAKE_CURRENT_SOURCE_DIR}/msaa.sh" "${client}")
    set_tests_properties(msaa-windows PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE SKIP_RETURN_CODE 77
        ENVIRONMENT "VELK_ZONES=${CMAKE_BINARY_DIR}/zones.txt")
endif()

# The backends' conformance table on Win32: its driver, built beside the
# .exe, run under Wine.
add_test(NAME conformance-windows
    COMMAND bash "${CMAKE_CURRENT_SOURCE_DIR}/conformance/win32.sh"
        "${PROJECT_SOURCE_DIR}/build-windows/tests/conformance/conformance.exe"
        "${PROJECT_SOURCE_DIR}/build-windows/wine-prefix")
set_tests_properties(conformance-windows PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE SKIP_RETURN_CODE 77)
