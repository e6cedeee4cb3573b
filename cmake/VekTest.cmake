# vek_add_test(NAME [GUI] [SOURCES file...] [LIBS lib...])
#
# One GoogleTest executable per test file, registered with ctest under NAME. The
# source is NAME.cpp unless SOURCES says otherwise. Tests link the libraries
# they test; they never recompile their sources.
#
# Every test links the test-support library `vektestsupport` (include folder
# tests/support: temporary folders, file bytes, the fault-injecting file
# system) and `vekteststate`, which gives the process a temporary state folder
# for its locks and recovery journals. A GUI test also links `vektestsupport_gui` (the scripted services,
# the recording printer, the document and main-window fixtures) and the test
# main that creates the QApplication, and runs offscreen.
#
#   vek_add_test(TXBaseMemoTest LIBS dbase)
#   vek_add_test(TChildViewTest GUI LIBS document)
#
# vek_check_tests_registered() ends the test folders: a *Test.cpp file that no
# vek_add_test names stops the configuration, so a renamed or forgotten test
# can never silently stop running.
function(vek_add_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  if(T_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "vek_add_test(${name}): unexpected ${T_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT T_SOURCES)
    set(T_SOURCES ${name}.cpp)
  endif()
  add_executable(${name} ${T_SOURCES})
  if(T_GUI)
    target_link_libraries(${name} PRIVATE ${T_LIBS} vektestmain vektestsupport_gui Qt6::Test
                                          GTest::gtest vekteststate)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} vektestsupport GTest::gtest
                                          GTest::gtest_main vekteststate)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  foreach(source ${T_SOURCES})
    get_filename_component(path ${source} ABSOLUTE)
    set_property(GLOBAL APPEND PROPERTY VEK_REGISTERED_TEST_SOURCES ${path})
  endforeach()
endfunction()

# Fails when a *Test.cpp file in one of the given folders is not registered.
function(vek_check_tests_registered)
  get_property(registered GLOBAL PROPERTY VEK_REGISTERED_TEST_SOURCES)
  foreach(dir ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/*Test.cpp)
    foreach(source ${sources})
      if(NOT source IN_LIST registered)
        file(RELATIVE_PATH shown ${CMAKE_SOURCE_DIR} ${source})
        message(FATAL_ERROR "${shown} is not registered: add vek_add_test(...) for it "
                            "to the CMakeLists.txt of its folder.")
      endif()
    endforeach()
  endforeach()
endfunction()
