# The Windows build's suites, under Wine: the end-to-end tour, the screen
# reader's view (MSAA), a hostile neighbour's messages, and the backends'
# conformance table, each given what `make windows` builds (`make test`
# builds it first) and run alone, each in an X server and the Wine prefix
# beside the .exe.
#
# They are defined in every build, whatever is installed: one whose .exe,
# compiler or Wine is missing fails, saying what to run. Only a build
# configured without them (-DVELK_TEST_WINDOWS=OFF) skips them, each saying
# so; a sanitized build leaves them out, as it does the web's tour: the
# .exe is not its own code, and they would only run the same .exe twice.
if(CMAKE_CXX_FLAGS MATCHES "-fsanitize")
    return()
endif()
option(VELK_TEST_WINDOWS "Run the Windows build's suites under Wine (OFF: they are skipped)" ON)
set(VELK_WINDOWS_EXE "${PROJECT_SOURCE_DIR}/build-windows/velk-simulator.exe" CACHE FILEPATH
    "The Windows build's executable, toured under Wine")
set(windows_env "VELK_ZONES=${CMAKE_BINARY_DIR}/zones.txt")

# The clients, other Windows processes, built with the MinGW-w64 compiler.
find_program(VELK_MINGW_CC x86_64-w64-mingw32-gcc)
set(clients msaaclient hostileclient)
if(VELK_TEST_WINDOWS AND VELK_MINGW_CC)
    foreach(client IN LISTS clients)
        set(${client} "${CMAKE_CURRENT_BINARY_DIR}/${client}.exe")
        add_custom_command(OUTPUT "${${client}}"
            COMMAND "${VELK_MINGW_CC}" -O1 -Wall -Wextra -o "${${client}}" "${CMAKE_CURRENT_SOURCE_DIR}/${client}.c"
                -luuid -loleacc -lole32 -loleaut32 -luser32
            DEPENDS ${client}.c accessiblenames.h VERBATIM)
        add_custom_target(${client} ALL DEPENDS "${${client}}")
    endforeach()
endif()

# velk_windows_test(NAME SCRIPT [EXE exe] [CLIENT client] [TIMEOUT seconds]
# [ARGS ...]): bash SCRIPT EXE [the client's .exe] ARGS..., once EXE (the
# program's by default) is there.
function(velk_windows_test name script)
    cmake_parse_arguments(W "" "EXE;CLIENT;TIMEOUT" "ARGS" ${ARGN})
    if(NOT VELK_TEST_WINDOWS)
        add_test(NAME ${name} COMMAND sh -c "echo 'configured without the Windows suites (VELK_TEST_WINDOWS=OFF)'; exit 77")
        set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77 LABELS declared-skip)
        return()
    endif()
    if(W_CLIENT AND NOT VELK_MINGW_CC)
        add_test(NAME ${name} COMMAND sh -c "echo 'no x86_64-w64-mingw32-gcc to build ${W_CLIENT}: run tools/install-deps.sh windows, then configure again' >&2; exit 1")
        return()
    endif()
    if(NOT W_EXE)
        set(W_EXE "${VELK_WINDOWS_EXE}")
    endif()
    set(args "${W_EXE}" ${W_ARGS})
    if(W_CLIENT)
        list(INSERT args 1 "${CMAKE_CURRENT_BINARY_DIR}/${W_CLIENT}.exe")
    endif()
    add_test(NAME ${name}
        COMMAND bash -c "[ -f \"$1\" ] || { echo \"no $1: make windows builds it\" >&2; exit 1; }; exec bash \"$0\" \"$@\""
            "${CMAKE_CURRENT_SOURCE_DIR}/${script}" ${args})
    if(NOT W_TIMEOUT)
        set(W_TIMEOUT 900)
    endif()
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE TIMEOUT ${W_TIMEOUT} ENVIRONMENT "${windows_env}")
endfunction()

velk_windows_test(endtoend-windows endtoend.sh)
set_property(TEST endtoend-windows APPEND PROPERTY ENVIRONMENT "SCREENSHOT_DIR=${CMAKE_BINARY_DIR}/screenshots-windows")
velk_windows_test(msaa-windows msaa.sh CLIENT msaaclient TIMEOUT 600)
# The neighbour's messages, at the disclaimer and on the dashboard; it
# reads each window's rows from rows.txt beside the zone table.
velk_windows_test(hostile-windows hostile.sh CLIENT hostileclient TIMEOUT 600)
# The backends' conformance table on Win32: its driver, built beside the
# .exe, run in the tour's Wine prefix.
velk_windows_test(conformance-windows conformance/win32.sh TIMEOUT 300
    EXE "${PROJECT_SOURCE_DIR}/build-windows/tests/conformance/conformance.exe"
    ARGS "${PROJECT_SOURCE_DIR}/build-windows/wine-prefix")
