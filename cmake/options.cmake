# Every build option of the project, in one place.
option(DRAVOLIN_BUILD_TESTS "Build the GoogleTest suites under tests/" ON)
option(DRAVOLIN_BUILD_BENCH "Build the speed measurements under bench/" ON)
