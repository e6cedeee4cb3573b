vek_add_test(ConvertOemTextTest SOURCES ConvertOemTextTest.cpp LIBS engine)
