# Build rules shared by every subsystem.

# Product code: warnings are errors.
function(link14_product target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  endif()
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()

if(WIN32 AND NOT MSVC)
  # Reproducible output: no time stamp in the PE header, no build paths.
  add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
  add_link_options(-Wl,--no-insert-timestamp -static -static-libgcc -static-libstdc++ -s)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
endif()

if(NOT WIN32)
  # Host build: sanitizers on everything, product and tests alike.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# GoogleTest: for the target from Debian's sources, for the host the packaged one.
if(WIN32)
  if(NOT TARGET gtest)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
  set(LINK14_GTEST_LIBS gmock_main)
else()
  find_package(GTest REQUIRED)
  set(LINK14_GTEST_LIBS GTest::gmock_main)
endif()

# Windows tests run under Wine; the prefix is made by the "wine" test fixture.
# A kernel without 32-bit execution cannot run 32-bit Wine: the 32-bit build
# then builds its test programs without running them and checks the
# executable's files, and the windows-x64 preset runs the same tests as
# 64-bit programs.
set(LINK14_RUN_TARGET OFF)
if(WIN32 AND CMAKE_CROSSCOMPILING)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(LINK14_RUN_TARGET ON)
  else()
    execute_process(COMMAND /lib/ld-linux.so.2 --version RESULT_VARIABLE _link14_ia32
      OUTPUT_QUIET ERROR_QUIET)
    if(_link14_ia32 EQUAL 0)
      set(LINK14_RUN_TARGET ON)
    elseif(NOT LINK14_PRODUCT_ONLY)
      message(STATUS "This machine cannot execute 32-bit code, so 32-bit Wine cannot run here: "
        "this build compiles its test programs and checks the executable's headers and "
        "reproducibility; the windows-x64 preset runs the Windows tests from the same sources.")
    endif()
  endif()
endif()
if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(LINK14_WINE_RUN "${CMAKE_SOURCE_DIR}/tests/wine/wine-run.sh")
  set(CMAKE_CROSSCOMPILING_EMULATOR "${LINK14_WINE_RUN};${CMAKE_BINARY_DIR}")
endif()

# Tests of a directory that run on the target. Where the target cannot run,
# they are still built, so that they compile for it, and disabled at the end
# of the directory, so that ctest reports them as not run.
function(link14_target_tests)
  if(WIN32 AND CMAKE_CROSSCOMPILING AND NOT LINK14_RUN_TARGET)
    get_property(deferred DIRECTORY PROPERTY LINK14_TESTS_DEFERRED)
    if(NOT deferred)
      set_property(DIRECTORY PROPERTY LINK14_TESTS_DEFERRED TRUE)
      cmake_language(DEFER CALL link14_disable_directory_tests)
    endif()
  endif()
endfunction()

function(link14_disable_directory_tests)
  get_property(tests DIRECTORY PROPERTY TESTS)
  if(tests)
    set_tests_properties(${tests} PROPERTIES DISABLED TRUE)
  endif()
endfunction()

# link14_gtest(NAME name SOURCES ... LIBS ... [RC file])
# One test program, registered as one test; under Wine it needs the prefix.
function(link14_gtest)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} ${LINK14_GTEST_LIBS})
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_brief=1)
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wine)
    link14_target_tests()
  endif()
endfunction()
