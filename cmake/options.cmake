# Every build option of the project, in one place.
option(DRAVOLIN_BUILD_TESTS "Build the GoogleTest suites under tests/" ON)
option(DRAVOLIN_BUILD_BENCH "Build the speed measurements under bench/" ON)
option(DRAVOLIN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(DRAVOLIN_TSAN "Build with ThreadSanitizer (it cannot be combined with DRAVOLIN_SANITIZE)" OFF)
option(DRAVOLIN_WERROR "Treat compiler warnings as errors" OFF)
option(DRAVOLIN_FUZZ "Build the libFuzzer harnesses under fuzz/ (Clang only)" OFF)

# float-cast-overflow is not in "undefined": a double cast to an integer it does not fit
# (a parsed "1e30") is caught only with it.
if(DRAVOLIN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined,float-cast-overflow)
  add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()
if(DRAVOLIN_TSAN)
  if(DRAVOLIN_SANITIZE)
    message(FATAL_ERROR "DRAVOLIN_TSAN and DRAVOLIN_SANITIZE exclude each other: configure two build folders")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
# Sanitizer builds also keep the program's own checks that release builds leave out.
if(DRAVOLIN_SANITIZE OR DRAVOLIN_TSAN)
  add_compile_definitions(DRAVOLIN_CHECKED)
endif()
if(DRAVOLIN_WERROR)
  add_compile_options(-Werror)
endif()
if(DRAVOLIN_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "DRAVOLIN_FUZZ needs Clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined,float-cast-overflow -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined,float-cast-overflow)
  add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()
