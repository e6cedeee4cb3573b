# Tests of the editing, field, structure and find commands and their dialogs.
foreach(t FieldDialogsTest FindDialogsTest TChildEditingTest TChildFieldsTest TChildFindTest)
  vek_add_test(${t} SOURCES ${t}.cpp LIBS vektestmain document Qt6::Test)
endforeach()
if(TARGET app)
  vek_add_test(EditingMenuTest SOURCES EditingMenuTest.cpp LIBS vektestmain app Qt6::Test)
endif()
