# One shipped program after its link: debug information to FILE.debug,
# linked by .gnu_debuglink; the program stripped; its PE time stamp EPOCH;
# signed with CERT when given.  The build runs it on each link, the signing
# test on copies.
#   cmake -DFILE=... -DOBJCOPY=... [-DEPOCH=...] [-DCERT=... -DSIGNTOOL=...
#         -DPASSWORD_ENV=... [-DTIMESTAMP_URL=...]] -P ReleaseBinary.cmake
#   -DSTRIP=OFF signs only (a file already stripped).

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    list(GET ARGN 0 tool)
    get_filename_component(tool "${tool}" NAME)
    message(FATAL_ERROR "${tool} failed on ${FILE} (${rc}):\n${out}")
  endif()
endfunction()

if(NOT EXISTS "${FILE}")
  message(FATAL_ERROR "no such program: ${FILE}")
endif()
get_filename_component(dir "${FILE}" DIRECTORY)
get_filename_component(name "${FILE}" NAME)

if(NOT DEFINED STRIP OR STRIP)
  # Only the debug link's file name is stored, with the CRC of its content.
  run("${OBJCOPY}" --only-keep-debug "${FILE}" "${FILE}.debug")
  run("${OBJCOPY}" --strip-all "--add-gnu-debuglink=${name}.debug" "${FILE}" "${FILE}.stripped"
      WORKING_DIRECTORY "${dir}")
  file(RENAME "${FILE}.stripped" "${FILE}")

  # The COFF header's time stamp: the build's claimed time, not the link's.
  if(EPOCH)
    run(python3 "${CMAKE_CURRENT_LIST_DIR}/../scripts/set-pe-timestamp.py" "${FILE}" "${EPOCH}")
  endif()
endif()

if(CERT)
  if(NOT SIGNTOOL)
    message(FATAL_ERROR "signing ${FILE}: osslsigncode not found")
  endif()
  if(NOT DEFINED ENV{${PASSWORD_ENV}})
    message(FATAL_ERROR "signing ${FILE}: the certificate's password is not in the environment (${PASSWORD_ENV})")
  endif()
  # The password goes to the signing tool through a file only this user can
  # read, never on a command line others can list.
  string(RANDOM LENGTH 12 token)
  set(pass_file "${dir}/.sign-${token}")
  file(WRITE "${pass_file}" "")
  file(CHMOD "${pass_file}" PERMISSIONS OWNER_READ OWNER_WRITE)
  file(WRITE "${pass_file}" "$ENV{${PASSWORD_ENV}}")
  set(timestamp)
  if(TIMESTAMP_URL)
    set(timestamp -ts "${TIMESTAMP_URL}")
  endif()
  file(REMOVE "${FILE}.signed")
  execute_process(COMMAND "${SIGNTOOL}" sign -pkcs12 "${CERT}" -readpass "${pass_file}" -h sha256
                          -n "${name}" ${timestamp} -in "${FILE}" -out "${FILE}.signed"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  file(REMOVE "${pass_file}")
  if(NOT rc EQUAL 0)
    file(REMOVE "${FILE}.signed")
    message(FATAL_ERROR "osslsigncode could not sign ${FILE} (${rc}):\n${out}")
  endif()
  file(RENAME "${FILE}.signed" "${FILE}")
endif()
