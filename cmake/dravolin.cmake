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

# One GoogleTest executable per tests/ folder, registered with CTest whole and run in
# shuffled order: one process runs every test of the folder, and a test that leans on
# what another left behind shows. Tests that fork or end a process on purpose
# (FORKING: GoogleTest filter patterns) are registered one process per test instead.
function(dravolin_tests name)
  cmake_parse_arguments(ARG "" "" "LINKS;FORKING" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} testsupport GTest::gmock GTest::gtest)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  add_dependencies(test_programs ${name})
  if(ARG_FORKING)
    list(JOIN ARG_FORKING ":" forking)
    add_test(NAME ${name} COMMAND ${name} --gtest_shuffle "--gtest_filter=-${forking}")
    gtest_discover_tests(${name}
      TEST_PREFIX "${name}."
      TEST_FILTER "${forking}"
      DISCOVERY_TIMEOUT 60)
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_shuffle)
  endif()
endfunction()
