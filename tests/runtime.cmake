# The core needs no display; the Qt backend's tests run offscreen.
add_executable(tst_core tst_core.cpp)
target_link_libraries(tst_core PRIVATE formscore Qt6::Test)
add_test(NAME tst_core COMMAND tst_core)
velk_add_test(tst_formsruntime SOURCES tst_formsruntime.cpp LIBS velkforms)
velk_add_test(tst_browserview SOURCES tst_browserview.cpp giffixtures.h LIBS formsruntime)
