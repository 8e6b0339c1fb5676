# Pieces of Debian's bzip2 and Boost sources that must be compiled for the
# target.  scripts/setup.sh unpacks them into TRELVANE_THIRD_PARTY; nothing
# of them is kept in the repository.

set(_bz2 "${TRELVANE_THIRD_PARTY}/bzip2")
set(_boost_src "${TRELVANE_THIRD_PARTY}/boost")
if(NOT EXISTS "${_bz2}/bzlib.c" OR NOT EXISTS "${_boost_src}/libs/iostreams/src/bzip2.cpp")
  message(FATAL_ERROR "Third-party sources missing in ${TRELVANE_THIRD_PARTY}: run scripts/setup.sh")
endif()

add_library(tv_bz2 STATIC
  ${_bz2}/blocksort.c ${_bz2}/huffman.c ${_bz2}/crctable.c ${_bz2}/randtable.c
  ${_bz2}/compress.c ${_bz2}/decompress.c ${_bz2}/bzlib.c)
target_include_directories(tv_bz2 SYSTEM PUBLIC "${_bz2}")
target_compile_options(tv_bz2 PRIVATE -w)
if(WIN32)
  # The decoder is the installer's hot loop: speed, not size (cmake/Release.cmake).
  target_compile_options(tv_bz2 PRIVATE -O2)
endif()
if(TRELVANE_SANITIZE AND NOT WIN32)
  target_compile_options(tv_bz2 PRIVATE -fsanitize=address,undefined)
endif()

# Only boost/ is visible through this folder; the host's /usr/include never is.
add_library(tv_boost INTERFACE)
target_include_directories(tv_boost SYSTEM INTERFACE "${TRELVANE_THIRD_PARTY}/include")
target_compile_definitions(tv_boost INTERFACE BOOST_ALL_NO_LIB)

add_library(tv_boost_iostreams STATIC "${_boost_src}/libs/iostreams/src/bzip2.cpp")
target_link_libraries(tv_boost_iostreams PUBLIC tv_boost tv_bz2)
target_compile_options(tv_boost_iostreams PRIVATE -w)

add_library(tv_boost_serialization STATIC "${_boost_src}/libs/serialization/src/archive_exception.cpp")
target_link_libraries(tv_boost_serialization PUBLIC tv_boost)
target_compile_options(tv_boost_serialization PRIVATE -w)

if(TRELVANE_SANITIZE AND NOT WIN32)
  foreach(t tv_boost_iostreams tv_boost_serialization)
    target_compile_options(${t} PRIVATE -fsanitize=address,undefined)
  endforeach()
endif()

# GoogleTest from Debian's sources, built for whichever target this is.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
