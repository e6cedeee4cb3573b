vek_add_test(TQor2SqlTest SOURCES TQor2SqlTest.cpp LIBS engine)
