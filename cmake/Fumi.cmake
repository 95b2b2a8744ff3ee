# Shared build rules: every module is a static library with strict warnings,
# and every module's tests are one GoogleTest executable registered with CTest.

function(fumi_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
  target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_URL_CAST_FROM_STRING)
endfunction()

# fumi_module(<name> SOURCES ... LIBS ...) -> static library fumi_<name>
function(fumi_module name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(fumi_${name} STATIC ${ARG_SOURCES})
  target_include_directories(fumi_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(fumi_${name} PUBLIC ${ARG_LIBS})
  fumi_warnings(fumi_${name})
endfunction()

# Libraries that hold the document model or codecs must never pull in widgets.
function(fumi_forbid_widgets target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  foreach(lib IN LISTS libs)
    if(lib MATCHES "Widgets|PrintSupport")
      message(FATAL_ERROR "${target} must not link ${lib}")
    endif()
  endforeach()
endfunction()

# fumi_tests(<name> SOURCES ... LIBS ... [RESOURCE_LOCK lock]) -> test executable
# <name>_tests under CTest; tests of one lock never run at the same time
function(fumi_tests name)
  if(NOT FUMI_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "RESOURCE_LOCK" "SOURCES;LIBS;LABELS" ${ARGN})
  set(lock)
  if(ARG_RESOURCE_LOCK)
    set(lock RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
  endif()
  add_executable(${name}_tests ${ARG_SOURCES})
  target_link_libraries(${name}_tests PRIVATE ${ARG_LIBS} fumi_testmain)
  target_compile_definitions(${name}_tests PRIVATE
    FUMI_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/tests/data" FUMI_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
  fumi_warnings(${name}_tests)
  gtest_discover_tests(${name}_tests
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    # The lock comes before the labels: the discovery passes the properties on
    # as one flat list, so nothing may follow a list of two labels.
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${lock} LABELS "${name};${ARG_LABELS}")
endfunction()

# fumi_folder_module(<name> LIBS ... TEST_LIBS ...): the library is every .cpp/.h in
# the current folder, its tests every tests/*_test.cpp (plus tests/*.h helpers).
function(fumi_folder_module name)
  cmake_parse_arguments(ARG "" "" "LIBS;TEST_LIBS;TEST_LABELS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  fumi_module(${name} SOURCES ${sources} LIBS ${ARG_LIBS})
  file(GLOB tests CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/*_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.h)
  if(tests)
    fumi_tests(${name} SOURCES ${tests} LIBS fumi_${name} ${ARG_TEST_LIBS} LABELS ${ARG_TEST_LABELS})
  endif()
endfunction()

# Every target configured after this call is compiled and linked with
# AddressSanitizer and UndefinedBehaviorSanitizer. Undefined behaviour stops
# the program as a memory fault does, so that a test cannot pass over it.
# -O1 keeps the stack traces readable and the build quick; it comes after the
# build type's own flags and wins over them.
macro(fumi_sanitize_everything)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    message(FATAL_ERROR "FUMI_SANITIZE needs GCC or clang")
  endif()
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -O1 -g1)
  add_link_options(-fsanitize=address,undefined)
endmacro()
