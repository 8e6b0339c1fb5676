# Build conventions shared by every folder.
#
# The layers (cmake/layers.txt) are one library each, made of the *.cpp files
# of their folder and of its core/ sub-folder, linking only the layers the
# table lets it use.  Files under <folder>/core/ need no Windows call: the
# cross build compiles them into the folder's library, the native build into
# <library>_core (the native libraries together: trelvane_core).

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

# The layer table: TRELVANE_LAYER_FOLDERS in table order, and per folder
# TRELVANE_LAYER_LIBRARY_<folder> and TRELVANE_LAYER_USES_<folder>.
set(TRELVANE_LAYER_FOLDERS)
file(STRINGS "${CMAKE_SOURCE_DIR}/cmake/layers.txt" _layer_rows REGEX "^[^# \t]")
foreach(_row ${_layer_rows})
  string(REGEX REPLACE "[ \t]+" ";" _fields "${_row}")
  list(GET _fields 0 _folder)
  list(GET _fields 1 _library)
  list(SUBLIST _fields 2 -1 _uses)
  list(REMOVE_ITEM _uses "-")
  list(APPEND TRELVANE_LAYER_FOLDERS ${_folder})
  set(TRELVANE_LAYER_LIBRARY_${_folder} ${_library})
  set(TRELVANE_LAYER_USES_${_folder} ${_uses})
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/cmake/layers.txt")

# Every build checks the includes against the table before it compiles a
# layer (scripts/check-layers.py); a file that includes an upper layer fails
# the build.
add_custom_target(check_layers ALL
  COMMAND python3 "${CMAKE_SOURCE_DIR}/scripts/check-layers.py" "${CMAKE_SOURCE_DIR}"
  COMMENT "Checking the layer rule (cmake/layers.txt)"
  VERBATIM)

# trelvane_add_layer([LIBS ...] [CORE_LIBS ...]): the library of the calling
# folder, named and linked as its row of cmake/layers.txt says.  LIBS are the
# system and third-party libraries of the cross build, CORE_LIBS those the
# native core/ part needs.  A layer is never named here: only the table links
# layers, and only to rows above.
function(trelvane_add_layer)
  cmake_parse_arguments(A "" "" "LIBS;CORE_LIBS" ${ARGN})
  file(RELATIVE_PATH folder "${CMAKE_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}")
  set(name "${TRELVANE_LAYER_LIBRARY_${folder}}")
  if(NOT name)
    message(FATAL_ERROR "${folder} has no row in cmake/layers.txt")
  endif()
  foreach(lib ${A_LIBS} ${A_CORE_LIBS})
    if(lib MATCHES "^trelvane_")
      message(FATAL_ERROR "${folder}: layers are linked by cmake/layers.txt, not by LIBS (${lib})")
    endif()
  endforeach()
  set(uses ${TRELVANE_LAYER_USES_${folder}})
  set(suffix "")
  if(NOT WIN32)
    set(suffix "_core")
  endif()
  set(linked)
  foreach(used ${uses})
    # The rows are added in table order: a library not made yet is not below.
    if(NOT TARGET ${used}${suffix})
      message(FATAL_ERROR "${folder}: ${used} is not a layer below ${name} (cmake/layers.txt)")
    endif()
    list(APPEND linked ${used}${suffix})
  endforeach()

  if(WIN32)
    file(GLOB sources CONFIGURE_DEPENDS
         "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/core/*.cpp")
    set(libs ${A_LIBS} ${A_CORE_LIBS})
  else()
    file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/core/*.cpp")
    set(libs ${A_CORE_LIBS})
  endif()
  set(target ${name}${suffix})
  if(sources)
    add_library(${target} STATIC ${sources})
    target_link_libraries(${target} PUBLIC trelvane_options ${linked} ${libs})
    set_property(GLOBAL APPEND PROPERTY TRELVANE_COMPILED_LAYERS ${target})
  else()
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE trelvane_options ${linked} ${libs})
  endif()
  add_dependencies(${target} check_layers)
  set_property(GLOBAL APPEND PROPERTY TRELVANE_LAYER_TARGETS ${target})
endfunction()

# Native build: trelvane_core, every portable part together (for the tools,
# the fuzz targets and tests that span layers).
function(trelvane_add_core_library)
  get_property(targets GLOBAL PROPERTY TRELVANE_LAYER_TARGETS)
  add_library(trelvane_core INTERFACE)
  target_link_libraries(trelvane_core INTERFACE trelvane_options ${targets})
endfunction()

# Test programs are most of what the build compiles, and their running time is
# the emulator's, not their own code's: they are compiled at -Og and reuse one
# precompiled header of the Windows and GoogleTest headers (about three times
# faster to build).  -Winvalid-pch says so when a program cannot use it.  Not
# -O1: through the precompiled header GCC 12 then reports the inlined wmemcpy
# of every short std::wstring literal as out of bounds.
function(_trelvane_test_pch)
  if(TARGET trelvane_test_pch)
    return()
  endif()
  add_library(trelvane_test_pch STATIC "${CMAKE_SOURCE_DIR}/tests/common/precompiled.cpp")
  target_link_libraries(trelvane_test_pch PRIVATE trelvane_options GTest::gmock GTest::gtest)
  target_compile_options(trelvane_test_pch PRIVATE -Og)
  target_precompile_headers(trelvane_test_pch PRIVATE "${CMAKE_SOURCE_DIR}/tests/common/precompiled.h")
endfunction()

# trelvane_add_test(<name> SOURCES ... [LIBS ...] [SHARED_STATE] [WINDOW | DESKTOP])
# A GoogleTest executable run by CTest (under Wine in the cross build).
# SHARED_STATE: the test changes the prefix's registry or shared folders, so it
# never runs beside another such test (lock wineprefix-state).
# WINDOW: it opens windows or boxes, or watches for them (label "window"); it
# takes one of the desktop's two shares (cmake/desktop-resources.json).
# DESKTOP: as WINDOW, and its checks read the focus, which another program's
# window can take at any time: it takes both shares, so no other window
# program runs beside it.
function(trelvane_add_test name)
  cmake_parse_arguments(A "SHARED_STATE;WINDOW;DESKTOP" "" "SOURCES;LIBS" ${ARGN})
  set(manifest)
  if(WIN32)
    set(manifest "${CMAKE_SOURCE_DIR}/resources/manifest_only.rc")
  endif()
  add_executable(${name} ${A_SOURCES} ${manifest})
  # All test programs and their helper programs share one folder, so a test
  # finds its helpers beside itself and the installer at ..\bin.
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${TRELVANE_TEST_BIN}")
  target_link_libraries(${name} PRIVATE trelvane_options ${A_LIBS} GTest::gmock GTest::gtest_main)
  _trelvane_test_pch()
  target_compile_options(${name} PRIVATE -Og -Winvalid-pch)
  target_precompile_headers(${name} REUSE_FROM trelvane_test_pch)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
  if(A_SHARED_STATE)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wineprefix-state)
  endif()
  if(A_DESKTOP)
    set_tests_properties(${name} PROPERTIES LABELS window RESOURCE_GROUPS desktop:2)
  elseif(A_WINDOW)
    set_tests_properties(${name} PROPERTIES LABELS window RESOURCE_GROUPS desktop:1)
  endif()
endfunction()

# trelvane_add_test_program(<name> SOURCES ... [LIBS ...])
# A helper program that tests start; it lands beside the test programs and
# carries the installer's manifest, so it meets the same Common Controls.
function(trelvane_add_test_program name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES} "${CMAKE_SOURCE_DIR}/resources/manifest_only.rc")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${TRELVANE_TEST_BIN}")
  target_link_libraries(${name} PRIVATE trelvane_options ${A_LIBS})
endfunction()
