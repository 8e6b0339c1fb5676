# Build conventions shared by every folder.
#
# Each subsystem folder (support, app, engine, framework, wizard, uninstaller) is one static
# library made of its *.cpp files.  Files under <folder>/core/ need no Windows
# call: the cross build compiles them into the folder's library, the native
# build gathers all of them into trelvane_core.

set(TRELVANE_SUBSYSTEMS support app engine framework wizard uninstaller)
set(TRELVANE_TEST_BIN "${CMAKE_BINARY_DIR}/tests-bin")

add_library(trelvane_options INTERFACE)
target_include_directories(trelvane_options INTERFACE "${CMAKE_SOURCE_DIR}")
target_compile_options(trelvane_options INTERFACE -Wall -Wextra -Wno-unused-parameter)
if(WIN32)
  target_compile_definitions(trelvane_options INTERFACE
    UNICODE _UNICODE _WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX STRICT)
  target_link_options(trelvane_options INTERFACE -static -static-libgcc -static-libstdc++)
else()
  if(TRELVANE_SANITIZE)
    target_compile_options(trelvane_options INTERFACE
      -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(trelvane_options INTERFACE -fsanitize=address,undefined)
  endif()
endif()

# trelvane_add_subsystem(<name> [LIBS ...]): library trelvane_<name> from the
# calling folder's sources.
function(trelvane_add_subsystem name)
  cmake_parse_arguments(A "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/core/*.cpp")
  if(NOT sources)
    add_library(trelvane_${name} INTERFACE)
    target_link_libraries(trelvane_${name} INTERFACE trelvane_options ${A_LIBS})
    return()
  endif()
  add_library(trelvane_${name} STATIC ${sources})
  target_link_libraries(trelvane_${name} PUBLIC trelvane_options ${A_LIBS})
endfunction()

function(trelvane_add_core_library)
  set(sources)
  foreach(dir ${TRELVANE_SUBSYSTEMS})
    file(GLOB s CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${dir}/core/*.cpp")
    list(APPEND sources ${s})
  endforeach()
  if(NOT sources)
    add_library(trelvane_core INTERFACE)
    target_link_libraries(trelvane_core INTERFACE trelvane_options tv_boost_iostreams tv_boost)
    return()
  endif()
  add_library(trelvane_core STATIC ${sources})
  target_link_libraries(trelvane_core PUBLIC trelvane_options tv_boost_iostreams tv_boost)
endfunction()

# trelvane_add_test(<name> SOURCES ... [LIBS ...] [SHARED_STATE])
# A GoogleTest executable run by CTest (under Wine in the cross build).
# SHARED_STATE: the test changes the prefix's registry or shared folders, so it
# never runs beside another such test.
function(trelvane_add_test name)
  cmake_parse_arguments(A "SHARED_STATE" "" "SOURCES;LIBS" ${ARGN})
  set(manifest)
  if(WIN32)
    set(manifest "${CMAKE_SOURCE_DIR}/resources/manifest_only.rc")
  endif()
  add_executable(${name} ${A_SOURCES} ${manifest})
  # All test programs and their helper programs share one folder, so a test
  # finds its helpers beside itself and the installer at ..\bin.
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${TRELVANE_TEST_BIN}")
  target_link_libraries(${name} PRIVATE trelvane_options ${A_LIBS} GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
  if(A_SHARED_STATE)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wineprefix-state)
  endif()
endfunction()

# trelvane_add_test_program(<name> SOURCES ... [LIBS ...] [CONSOLE])
# A helper program that tests start; it lands beside the test programs and
# carries the installer's manifest, so it meets the same Common Controls.
function(trelvane_add_test_program name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES} "${CMAKE_SOURCE_DIR}/resources/manifest_only.rc")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${TRELVANE_TEST_BIN}")
  target_link_libraries(${name} PRIVATE trelvane_options ${A_LIBS})
endfunction()
