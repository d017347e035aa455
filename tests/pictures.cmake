# The built-in pictures: tst_pictures regenerates them with make-pictures and
# compares the bytes with the committed files in resources/, then checks
# their formats, the painted features the dashboard layout relies on, and
# the Windows icon resource built from resources/appicon.rc.
velk_add_test(tst_pictures SOURCES tst_pictures.cpp LIBS Qt6::Gui)
add_dependencies(tst_pictures make-pictures)
target_compile_definitions(tst_pictures PRIVATE
    MAKE_PICTURES="$<TARGET_FILE:make-pictures>")
