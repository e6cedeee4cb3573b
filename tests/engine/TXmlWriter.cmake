vek_add_test(TXmlWriterTest SOURCES TXmlWriterTest.cpp LIBS engine)
