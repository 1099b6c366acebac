# One static library per folder: every .cpp of the folder, includes relative to the
# source root ("core/text.h"), and explicit links so the dependency direction shows.
# SOURCES names the files where a folder builds two libraries of different layers.
function(dravolin_library name)
  cmake_parse_arguments(ARG "QT" "" "LINKS;SOURCES" ${ARGN})
  if(ARG_SOURCES)
    list(TRANSFORM ARG_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE sources)
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
endfunction()

include(GoogleTest)

# One GoogleTest executable per tests/ folder; each of its tests is registered with
# CTest on its own, so a failure names its test and the suite runs in parallel.
function(dravolin_tests name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} testsupport GTest::gmock GTest::gtest)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  gtest_discover_tests(${name}
    TEST_PREFIX "${name}."
    DISCOVERY_TIMEOUT 60)
endfunction()
