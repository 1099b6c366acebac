# Every build option of the project, in one place.
option(DRAVOLIN_BUILD_TESTS "Build the GoogleTest suites under tests/" ON)
option(DRAVOLIN_BUILD_BENCH "Build the speed measurements under bench/" ON)
option(DRAVOLIN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(DRAVOLIN_WERROR "Treat compiler warnings as errors" OFF)

if(DRAVOLIN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(DRAVOLIN_WERROR)
  add_compile_options(-Werror)
endif()
