# The core needs no display; the Qt backend's tests run offscreen.
add_executable(tst_core tst_core.cpp)
target_link_libraries(tst_core PRIVATE formscore Qt6::Test Qt6::Gui)  # Gui: the GIF fixtures name colours
add_test(NAME tst_core COMMAND tst_core)
velk_add_test(tst_formsruntime SOURCES tst_formsruntime.cpp LIBS velkforms)
velk_add_test(tst_browserview SOURCES tst_browserview.cpp giffixtures.h LIBS formsqt)
# The core and the program's windows build with no toolkit at all: a tree
# configured afresh with no backend never even looks for Qt.
add_test(NAME core_without_toolkit
    COMMAND sh -c "\"$0\" -S \"$1\" -B \"$2\" -DVELK_BACKEND=none -DCMAKE_BUILD_TYPE=Debug >/dev/null && \"$0\" --build \"$2\" -j 2"
        ${CMAKE_COMMAND} ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR}/core-without-toolkit)
set_tests_properties(core_without_toolkit PROPERTIES TIMEOUT 300)
# `make fuzz`'s libFuzzer build, configured and built only, with clang.
add_test(NAME fuzz_builds
    COMMAND sh -c "\"$0\" -S \"$1\" -B \"$2\" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang >/dev/null && \"$0\" --build \"$2\" -j 2"
        ${CMAKE_COMMAND} ${PROJECT_SOURCE_DIR}/tests/fuzz ${CMAKE_BINARY_DIR}/fuzz-build)
set_tests_properties(fuzz_builds PROPERTIES TIMEOUT 300)
# A handler naming a control its window lacks, and a backend lacking a kind,
# do not compile; the sound file does.
foreach(mistake NONE MISSPELT_CONTROL MISSING_MAKER)
    add_test(NAME compile_${mistake}
        COMMAND ${CMAKE_CXX_COMPILER} -std=c++20 -fsyntax-only -D${mistake}
            -I${PROJECT_SOURCE_DIR}/runtime/core ${CMAKE_CURRENT_SOURCE_DIR}/compilefails.cpp)
    if(NOT mistake STREQUAL "NONE")
        set_tests_properties(compile_${mistake} PROPERTIES WILL_FAIL TRUE)
    endif()
endforeach()
# The backends' conformance table (conformance/cases.h), run on Qt here and
# on Win32 under Wine by windows.cmake.
velk_add_test(tst_conformance SOURCES conformance/tst_conformance.cpp conformance/cases.h LIBS formsqt)
target_include_directories(tst_conformance PRIVATE conformance ${CMAKE_CURRENT_SOURCE_DIR})
