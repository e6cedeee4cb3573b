vek_add_test(TTextImportTest SOURCES TTextImportTest.cpp LIBS engine)
