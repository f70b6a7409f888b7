# One static library per source folder. Sources are globbed so that a new
# file in a folder needs no edit here.
function(telquin_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(_ex ${ARG_EXCLUDE})
    list(REMOVE_ITEM _src ${CMAKE_CURRENT_SOURCE_DIR}/${_ex})
  endforeach()
  if(NOT _src)
    set(_stub ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    file(WRITE ${_stub} "")
    set(_src ${_stub})
  endif()
  add_library(${name} STATIC ${_src})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# One test executable per library: every *.cpp of the test folder, the shared
# test support and GoogleTest. WIDGETS: the test main makes a QApplication and
# widgets render offscreen; without it the executable links Qt Core alone.
# The test main also picks the offscreen platform and Qt's own event loop,
# and points the settings store at a temporary folder.
# Test names carry the parameter index, never the printed value: a printed
# struct holds pointers, and names must be the same in every run.
function(telquin_test name folder)
  cmake_parse_arguments(ARG "WIDGETS" "" "LIBS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.h)
  if(NOT _src)
    return()
  endif()
  add_executable(${name} ${_src})
  if(ARG_WIDGETS)
    set(_main telquin_testmain_widgets)
  else()
    set(_main telquin_testmain_core)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} telquin_testsupport ${_main}
                        GTest::gtest GTest::gmock)
  gtest_discover_tests(${name}
    NO_PRETTY_VALUES
    PROPERTIES LABELS ${name}
    DISCOVERY_TIMEOUT 60)
endfunction()
