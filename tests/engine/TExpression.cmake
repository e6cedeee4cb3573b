vek_add_test(TExpressionTest SOURCES TExpressionTest.cpp LIBS engine)
