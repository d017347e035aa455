velk_add_test(tst_formsruntime SOURCES tst_formsruntime.cpp LIBS velkforms)
velk_add_test(tst_browserview SOURCES tst_browserview.cpp giffixtures.h LIBS formsruntime)
