# One static library per folder: every .cpp of the folder, and explicit links so the
# dependency direction shows. SOURCES names the files where a folder builds two
# libraries of different layers.
#
# Each library has an include root of its own, build/include/<library>, that holds
# links to its own files only, under their paths from the source root ("core/text.h").
# The library is compiled from there and offers that root to what links it, so a file
# reaches the headers of its own library and of the libraries it links, and nothing
# else: an include that goes the wrong way, written any way, does not compile.
function(dravolin_library name)
  cmake_parse_arguments(ARG "QT" "" "LINKS;SOURCES" ${ARGN})
  if(ARG_SOURCES)
    list(TRANSFORM ARG_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE sources)
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  endif()
  set(root ${CMAKE_BINARY_DIR}/include/${name})
  file(REMOVE_RECURSE ${root})
  set(linked)
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH path ${PROJECT_SOURCE_DIR} ${source})
    get_filename_component(folder ${root}/${path} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    file(CREATE_LINK ${source} ${root}/${path} SYMBOLIC)
    list(APPEND linked ${root}/${path})
  endforeach()
  add_library(${name} STATIC ${linked})
  target_include_directories(${name} PUBLIC ${root})
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
