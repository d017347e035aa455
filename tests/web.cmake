# The web build's tour in Chromium, Firefox and WebKitGTK: the tour of the
# other builds (endtoend.sh) given build-web/, which `make test` builds
# first, and this build's zone table; ENGINE chooses the browser
# (tests/web/page.sh, tests/web/engines.sh). Without the page each fails,
# saying what to run; only a build configured without it
# (-DVELK_TEST_WEB=OFF) skips them, saying so. A sanitized build leaves
# them out, since the tour does not run the build's own code: it would
# only take the same tour twice.
set(VELK_WEB_DIR "${PROJECT_SOURCE_DIR}/build-web" CACHE PATH "The web build's static folder, toured in the browsers")
option(VELK_TEST_WEB "Take the web build's tour in the browsers (OFF: it is skipped)" ON)
if(NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
    foreach(engine chromium firefox webkit)
        set(suffix -${engine})
        if(engine STREQUAL chromium)
            set(suffix "")  # the first, named as before the others came
        endif()
        set(name tour-web${suffix})
        if(VELK_TEST_WEB)
            add_test(NAME ${name}
                COMMAND bash -c "[ -f \"$1/index.html\" ] || { echo \"no $1/index.html: make web builds it\" >&2; exit 1; }; VELK_ZONES=\"$3\" exec bash \"$2\" \"$1\""
                    ${name} "${VELK_WEB_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/endtoend.sh" "${CMAKE_BINARY_DIR}/zones.txt")
        else()
            add_test(NAME ${name} COMMAND sh -c "echo 'configured without the web tour (VELK_TEST_WEB=OFF)'; exit 77")
            set_tests_properties(${name} PROPERTIES LABELS declared-skip)
        endif()
        # Alone: the tour counts the page's long tasks, which other tests'
        # work would lengthen, and a loaded machine slows every browser.
        set_tests_properties(${name} PROPERTIES
            TIMEOUT 900
            RUN_SERIAL TRUE
            SKIP_RETURN_CODE 77
            ENVIRONMENT "ENGINE=${engine};SCREENSHOT_DIR=${CMAKE_BINARY_DIR}/screenshots-web${suffix}")
    endforeach()
endif()
