# The package managers' descriptions of a finished installer FILE, written
# to OUT by the host tool TOOL (tools/deploy), with FILE's SHA-256.
#   cmake -DFILE=... -DTOOL=... -DURL=... -DOUT=... -P DeploymentManifests.cmake
file(SHA256 "${FILE}" digest)
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${TOOL}" "${OUT}" "${digest}" "${URL}" RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the deployment manifests of ${FILE} could not be written (${rc}): ${err}")
endif()
