# The voice-box animation: its test regenerates it with make-voicebox and
# compares the bytes with the committed "resources/velk voicebox.gif".
velk_add_test(tst_voiceboxgif SOURCES tst_voiceboxgif.cpp LIBS Qt6::Gui)
add_dependencies(tst_voiceboxgif make-voicebox)
target_compile_definitions(tst_voiceboxgif PRIVATE
    MAKE_VOICEBOX="$<TARGET_FILE:make-voicebox>")
