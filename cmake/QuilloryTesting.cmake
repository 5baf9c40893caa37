# quillory_add_gtest(NAME SOURCES... [LIBS libs...] [LABELS labels...] [NO_GTEST_MAIN])
# One GoogleTest executable, its cases registered with CTest one by one.
# NO_GTEST_MAIN: the test brings its own main (e.g. one that creates a QApplication).
if(QUILLORY_BUILD_TESTS)
  enable_testing()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

function(quillory_add_gtest name)
  if(NOT QUILLORY_BUILD_TESTS OR QUILLORY_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "NO_GTEST_MAIN" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${ARG_UNPARSED_ARGUMENTS})
  set(gtest_main GTest::gtest_main)
  if(ARG_NO_GTEST_MAIN)
    set(gtest_main "")
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest ${gtest_main} Threads::Threads)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
  # A label list would be flattened into separate properties by the discovery
  # script, so the labels are set on the discovered tests afterwards.
  if(ARG_LABELS)
    set(labels_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake)
    file(WRITE ${labels_file}
      "if(${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES LABELS \"${ARG_LABELS}\")\nendif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${labels_file})
  endif()
endfunction()
