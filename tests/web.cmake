# The web build's tour in Chromium: the tour of the other builds
# (endtoend.sh) given build-web/, which `make test` builds first, and this
# build's zone table. Without the page it fails, saying what to run; only a
# build configured without it (-DVELK_TEST_WEB=OFF) skips it, saying so.
# A sanitized build leaves it out, since the tour does not run the
# build's own code: it would only take the same tour twice.
set(VELK_WEB_DIR "${PROJECT_SOURCE_DIR}/build-web" CACHE PATH "The web build's static folder, toured in Chromium")
option(VELK_TEST_WEB "Take the web build's tour in Chromium (OFF: it is skipped)" ON)
if(NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
    if(VELK_TEST_WEB)
        add_test(NAME tour-web
            COMMAND bash -c "[ -f \"$1/index.html\" ] || { echo \"no $1/index.html: make web builds it\" >&2; exit 1; }; VELK_ZONES=\"$3\" exec bash \"$2\" \"$1\""
                tour-web "${VELK_WEB_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/endtoend.sh" "${CMAKE_BINARY_DIR}/zones.txt")
    else()
        add_test(NAME tour-web COMMAND sh -c "echo 'configured without the web tour (VELK_TEST_WEB=OFF)'; exit 77")
        set_tests_properties(tour-web PROPERTIES LABELS declared-skip)
    endif()
    # Alone: the tour counts the page's long tasks, which other tests' work
    # would lengthen.
    set_tests_properties(tour-web PROPERTIES
        TIMEOUT 900
        RUN_SERIAL TRUE
        SKIP_RETURN_CODE 77
        ENVIRONMENT "SCREENSHOT_DIR=${CMAKE_BINARY_DIR}/screenshots-web")
endif()
