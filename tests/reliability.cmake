# Reliability: the browser view against hostile files, the runtime against
# injected faults, a soak of random clicks, and the replay of mutated GIFs
# (natively and, for a share of them, under valgrind memcheck). Long forms:
# `make soak`, `make fuzz`; the sanitizer build: `make test-asan`.
set(VELK_SANITIZED OFF)
if(CMAKE_CXX_FLAGS MATCHES "-fsanitize=")
    set(VELK_SANITIZED ON)
endif()

# --- mutated GIFs through FrameDecoder::decode ---
add_executable(gifreplay gifreplay.cpp gifinvariants.h giffixtures.h)
target_link_libraries(gifreplay PRIVATE formsqt)
set(VOICE_BOX_SEED "${PROJECT_SOURCE_DIR}/resources/velk voicebox.gif")
add_test(NAME gifreplay
    COMMAND gifreplay --voicebox ${VOICE_BOX_SEED} --count 5000 --quiet)
set_tests_properties(gifreplay PROPERTIES TIMEOUT 300)
# Every 5th of the same mutants, under memcheck: any invalid read or write,
# use of uninitialised memory or definite leak fails the test. Not in a
# sanitized build, whose shadow memory memcheck cannot run beside; without
# valgrind it fails, saying what to install.
find_program(VALGRIND valgrind)
if(NOT VELK_SANITIZED AND NOT VALGRIND)
    add_test(NAME gifreplay_memcheck
        COMMAND sh -c "echo 'no valgrind: run tools/install-deps.sh test, then configure again' >&2; exit 1")
elseif(NOT VELK_SANITIZED)
    add_test(NAME gifreplay_memcheck
        COMMAND ${VALGRIND} --tool=memcheck --error-exitcode=99 --leak-check=full
            --errors-for-leak-kinds=definite --show-leak-kinds=definite --quiet
            $<TARGET_FILE:gifreplay> --voicebox ${VOICE_BOX_SEED} --count 1000 --stride 5 --quiet)
    set_tests_properties(gifreplay_memcheck PROPERTIES TIMEOUT 600)
endif()

# --- the hostile corpus: every file a user might put in the voice box's place ---
add_executable(hostilegif hostilegif.cpp giffixtures.h)
target_link_libraries(hostilegif PRIVATE Qt6::Gui)
# The test swaps the voice box beside its own executable: a folder of its own.
velk_add_test(tst_hostilevoicebox SOURCES tst_hostilevoicebox.cpp dashboardfixture.h LIBS velkforms
    ENV "VELK_FIGURES_DIR=${CMAKE_BINARY_DIR}")
set_target_properties(tst_hostilevoicebox PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/hostile")
target_compile_definitions(tst_hostilevoicebox PRIVATE
    HOSTILE_CORPUS="${CMAKE_CURRENT_SOURCE_DIR}/hostile-corpus.sh"
    HOSTILE_GIF="$<TARGET_FILE:hostilegif>")
add_dependencies(tst_hostilevoicebox hostilegif)

# --- faults injected part-way through each kind of handler ---
velk_add_test(tst_faults SOURCES tst_faults.cpp dashboardfixture.h LIBS velkforms)
add_custom_command(TARGET tst_faults POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${VOICE_BOX_SEED}" "$<TARGET_FILE_DIR:tst_faults>/velk voicebox.gif")

# --- the soak: random clicks all over the window, checked against a model ---
velk_add_test(tst_soak SOURCES tst_soak.cpp dashboardfixture.h dashboardmodel.h LIBS velkforms
    ENV "SOAK_CLICKS=20000" "SOAK_SECONDS=90")
add_custom_command(TARGET tst_soak POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${VOICE_BOX_SEED}" "$<TARGET_FILE_DIR:tst_soak>/velk voicebox.gif")

# The end-to-end test's hostile section makes its files with the same tool.
if(TEST endtoend)
    set_property(TEST endtoend APPEND PROPERTY ENVIRONMENT "HOSTILE_GIF=$<TARGET_FILE:hostilegif>")
endif()
