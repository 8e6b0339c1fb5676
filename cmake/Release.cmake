# The shipped programs: size, reproducibility, debug information beside
# them, signing, and the package managers' descriptions of the installer.
#
#   TRELVANE_SIGNING_CERT          PKCS#12 file to sign Uninstall.exe (before it
#                                  is packed) and the installer with; empty:
#                                  nothing is signed
#   TRELVANE_SIGNING_PASSWORD_ENV  environment variable holding its password,
#                                  read when the build signs, never stored
#   TRELVANE_SIGNING_CA            PEM certificate the release test verifies
#                                  the signatures against
#   TRELVANE_TIMESTAMP_URL         RFC 3161 time-stamp server; empty: none
#   TRELVANE_RELEASE_URL           where the installer is published (for the
#                                  manifests)
#   SOURCE_DATE_EPOCH              (environment, at configure) the time the
#                                  build claims; unset: the commit's time

set(TRELVANE_SIGNING_CERT "" CACHE FILEPATH "PKCS#12 certificate to sign the shipped programs with (empty: no signing)")
set(TRELVANE_SIGNING_PASSWORD_ENV "TRELVANE_SIGNING_PASSWORD" CACHE STRING
    "Environment variable that holds the certificate's password")
set(TRELVANE_SIGNING_CA "" CACHE FILEPATH
    "Certificate (PEM) the signatures chain to, for the release test to verify them (empty: not verified)")
set(TRELVANE_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamp server for the signatures (empty: none)")
set(TRELVANE_RELEASE_URL "https://www.vantaro.example/download/InstallTrelvane7.08g.exe" CACHE STRING
    "Address the installer is published at, for the package managers' manifests")

if(NOT WIN32)
  return()
endif()

# Size: every function and datum in a section of its own, so the linker drops
# what nothing reaches; -Os for the code the programs run.  GNU ld for PE has
# no identical-code folding (--icf), so none is done.
add_compile_options(-Os -ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections)
# Line tables and function names for crash analysis; they leave the shipped
# file with the rest of the debug information (trelvane_release_binary).
add_compile_options(-g1)

# Reproducible: no path of this machine in the objects or the debug
# information, archives without dates or owners, and the PE time stamp fixed.
add_compile_options("-ffile-prefix-map=${CMAKE_SOURCE_DIR}=." "-ffile-prefix-map=${CMAKE_BINARY_DIR}=build")
foreach(lang C CXX)
  set(CMAKE_${lang}_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_APPEND "<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_FINISH "<CMAKE_RANLIB> -D <TARGET>")
endforeach()
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(TRELVANE_BUILD_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git -C "${CMAKE_SOURCE_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE TRELVANE_BUILD_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT TRELVANE_BUILD_EPOCH MATCHES "^[0-9]+$")
  set(TRELVANE_BUILD_EPOCH 0)
endif()
# The PE header's time stamp: ld writes none with --no-insert-timestamp; the
# release step then writes the build's time (cmake/ReleaseBinary.cmake).
add_link_options(-Wl,--no-insert-timestamp)

find_program(TRELVANE_OBJCOPY NAMES ${TRELVANE_MINGW_PREFIX}-objcopy REQUIRED)
if(TRELVANE_SIGNING_CERT)
  find_program(TRELVANE_OSSLSIGNCODE osslsigncode REQUIRED)
  message(STATUS "Signing the shipped programs with ${TRELVANE_SIGNING_CERT} "
                 "(password from \$${TRELVANE_SIGNING_PASSWORD_ENV})")
else()
  message(STATUS "Not signing: no TRELVANE_SIGNING_CERT")
endif()

# trelvane_release_binary(<target>): after each link, the program's debug
# information goes to <file>.debug beside it (linked by .gnu_debuglink), the
# program is stripped, stamped and, when configured, signed.
function(trelvane_release_binary target)
  # The linker's map says what takes the space (README, Release).
  target_link_options(${target} PRIVATE "-Wl,-Map=${CMAKE_BINARY_DIR}/release-maps/${target}.map")
  file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/release-maps")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND "${CMAKE_COMMAND}" "-DFILE=$<TARGET_FILE:${target}>" "-DOBJCOPY=${TRELVANE_OBJCOPY}"
            "-DEPOCH=${TRELVANE_BUILD_EPOCH}" "-DCERT=${TRELVANE_SIGNING_CERT}"
            "-DPASSWORD_ENV=${TRELVANE_SIGNING_PASSWORD_ENV}" "-DTIMESTAMP_URL=${TRELVANE_TIMESTAMP_URL}"
            "-DSIGNTOOL=${TRELVANE_OSSLSIGNCODE}"
            -P "${CMAKE_SOURCE_DIR}/cmake/ReleaseBinary.cmake"
    COMMENT "Release step for $<TARGET_FILE_NAME:${target}>"
    VERBATIM)
endfunction()

# trelvane_deployment_manifests(<target>): the winget manifest and the
# Chocolatey fragment for the finished installer, in <its folder>/deploy.
function(trelvane_deployment_manifests target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND "${CMAKE_COMMAND}" "-DFILE=$<TARGET_FILE:${target}>" "-DTOOL=${TRELVANE_DEPLOY_TOOL}"
            "-DURL=${TRELVANE_RELEASE_URL}" "-DOUT=$<TARGET_FILE_DIR:${target}>/deploy"
            -P "${CMAKE_SOURCE_DIR}/cmake/DeploymentManifests.cmake"
    COMMENT "Package managers' manifests for $<TARGET_FILE_NAME:${target}>"
    VERBATIM)
endfunction()
