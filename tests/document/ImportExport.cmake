# Tests of the import and export commands.
vek_add_test(TChildImportExportTest SOURCES TChildImportExportTest.cpp
             LIBS vektestmain document Qt6::Test)
target_include_directories(TChildImportExportTest PRIVATE ${CMAKE_SOURCE_DIR}/tests/dbase)
