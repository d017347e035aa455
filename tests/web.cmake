# The web build's tour in Chromium: the tour of the other builds
# (endtoend.sh) given build-web/, which `make test` builds first, and this
# build's zone table. Skipped when
# there is no page, as in a build without Emscripten, and in a sanitized
# build, whose own code the tour does not run: it would only take the same
# tour twice.
set(VELK_WEB_DIR "${PROJECT_SOURCE_DIR}/build-web" CACHE PATH "The web build's static folder, toured in Chromium")
if(NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
    add_test(NAME tour-web
        COMMAND bash -c "[ -f \"$1/index.html\" ] || exit 77; VELK_ZONES=\"$3\" exec bash \"$2\" \"$1\""
            tour-web "${VELK_WEB_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/endtoend.sh" "${CMAKE_BINARY_DIR}/zones.txt")
    # Alone: the tour counts the page's long tasks, which other tests' work
    # would lengthen.
    set_tests_properties(tour-web PROPERTIES
        TIMEOUT 900
        RUN_SERIAL TRUE
        SKIP_RETURN_CODE 77
        ENVIRONMENT "SCREENSHOT_DIR=${CMAKE_BINARY_DIR}/screenshots-web")
endif()
