# One static library per source folder: every .cpp of the folder (not of its
# subfolders) belongs to it, so adding a file needs no CMake edit.
function(trelvan_layer target dir)
  cmake_parse_arguments(L "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    set(sources ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/empty.cpp)
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC ${L_DEPS})
endfunction()

# One GoogleTest executable per test folder, registered with CTest.
function(trelvan_test_folder target dir)
  cmake_parse_arguments(T "OWN_MAIN" "" "DEPS;ENV" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${target} ${sources})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${target} PRIVATE ${T_DEPS} GTest::gtest GTest::gmock)
  if(NOT T_OWN_MAIN)
    target_link_libraries(${target} PRIVATE GTest::gtest_main)
  endif()
  # Each test is labelled with its executable, so that a run can pick the
  # tests of some executables (ctest -L).
  set(properties LABELS ${target})
  if(T_ENV)
    list(APPEND properties ENVIRONMENT "${T_ENV}")
  endif()
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()
