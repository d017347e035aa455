# giflib for the Windows build: Debian's own source package, of the
# version the system itself has, fetched through apt into the build tree
# (tools/debian-source.sh; never copied into the repository) and compiled
# with the cross compiler as a static library. The core's find_package(GIF)
# then finds this one: the target exists as GIF::GIF before it looks.
execute_process(COMMAND dpkg-query -W "-f=\${Version}" libgif7
    OUTPUT_VARIABLE system_giflib OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
set(VELK_GIFLIB_VERSION "${system_giflib}" CACHE STRING
    "The Debian version of giflib's source package built for Windows (the system's own by default)")
if(NOT VELK_GIFLIB_VERSION)
    message(FATAL_ERROR "No giflib version: install libgif-dev (tools/install-deps.sh) or set VELK_GIFLIB_VERSION")
endif()

execute_process(
    COMMAND sh "${PROJECT_SOURCE_DIR}/tools/debian-source.sh" giflib "${VELK_GIFLIB_VERSION}" "${CMAKE_BINARY_DIR}/debian-source"
    OUTPUT_VARIABLE giflib_tree OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE fetched)
if(NOT fetched EQUAL 0 OR NOT EXISTS "${giflib_tree}/gif_lib.h")
    message(FATAL_ERROR "giflib ${VELK_GIFLIB_VERSION}: the source package could not be fetched")
endif()

# Only the reading side and what it needs: the core decodes, never encodes.
add_library(giflib STATIC
    ${giflib_tree}/dgif_lib.c
    ${giflib_tree}/gif_err.c
    ${giflib_tree}/gifalloc.c
    ${giflib_tree}/openbsd-reallocarray.c)
target_include_directories(giflib SYSTEM PUBLIC "${giflib_tree}")
set_target_properties(giflib PROPERTIES C_STANDARD 99)
add_library(GIF::GIF ALIAS giflib)
set(GIF_INCLUDE_DIR "${giflib_tree}" CACHE PATH "" FORCE)
set(GIF_LIBRARY giflib CACHE STRING "" FORCE)
