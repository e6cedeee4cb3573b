vek_add_test(TReal48Test SOURCES TReal48Test.cpp LIBS engine)
