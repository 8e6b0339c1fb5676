# The package the installer carries: built on the host by the packager from
# a manifest and embedded as resource type 260, id 134.
#
#   TRELVANE_PACKAGE_MANIFEST    manifest to pack; empty: the generated demo
#   TRELVANE_PACKAGE_SOURCE_DIR  folder its source files are relative to;
#                                empty: the manifest's folder
#   TRELVANE_DEMO_PROGRAM, TRELVANE_DEMO_UNINSTALLER
#                                executables for the demo package instead of
#                                generated placeholders

include(ExternalProject)

set(TRELVANE_PACKAGE_MANIFEST "" CACHE FILEPATH "Manifest of the package to embed (empty: the demo package)")
set(TRELVANE_PACKAGE_SOURCE_DIR "" CACHE PATH "Folder the manifest's sources are relative to (empty: its own)")
set(TRELVANE_DEMO_PROGRAM "" CACHE FILEPATH "Main program for the demo package (empty: a placeholder)")
set(TRELVANE_DEMO_UNINSTALLER "" CACHE FILEPATH "Uninstaller for the demo package (empty: a placeholder)")

set(TRELVANE_HOST_TOOLS_DIR "${CMAKE_BINARY_DIR}/host-tools")
set(TRELVANE_PACKAGER "${TRELVANE_HOST_TOOLS_DIR}/packager/trelvane-packager" CACHE INTERNAL "")
set(_demo_payload_tool "${TRELVANE_HOST_TOOLS_DIR}/demo/make-demo-payload")

# Host compilers, never the cross toolchain.
ExternalProject_Add(host_tools
  SOURCE_DIR "${CMAKE_SOURCE_DIR}/tools"
  BINARY_DIR "${TRELVANE_HOST_TOOLS_DIR}"
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=cc -DCMAKE_CXX_COMPILER=c++
             "-DTRELVANE_THIRD_PARTY=${TRELVANE_THIRD_PARTY}"
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS "${TRELVANE_PACKAGER}" "${_demo_payload_tool}"
  USES_TERMINAL_BUILD OFF)

function(trelvane_embed_package target)
  set(out "${CMAKE_BINARY_DIR}/package")
  if(TRELVANE_PACKAGE_MANIFEST)
    get_filename_component(manifest "${TRELVANE_PACKAGE_MANIFEST}" ABSOLUTE)
    set(sources "${TRELVANE_PACKAGE_SOURCE_DIR}")
    if(NOT sources)
      get_filename_component(sources "${manifest}" DIRECTORY)
    endif()
    set(package "${out}/package.pkg")
    add_custom_command(OUTPUT "${package}"
      COMMAND "${TRELVANE_PACKAGER}" build "${manifest}" "${package}" --source-dir "${sources}"
      DEPENDS host_tools "${manifest}" "${TRELVANE_PACKAGER}"
      COMMENT "Packing ${manifest}"
      VERBATIM)
    # Sources are read at every build: their list lives in the manifest.
    add_custom_target(package_sources_changed ALL COMMAND "${CMAKE_COMMAND}" -E touch_nocreate "${manifest}")
  else()
    set(manifest "${CMAKE_SOURCE_DIR}/tools/demo/demo.manifest")
    set(payload "${out}/demo-payload")
    set(package "${out}/demo.pkg")
    set(options)
    set(extra)
    if(TRELVANE_DEMO_PROGRAM)
      list(APPEND options --program "${TRELVANE_DEMO_PROGRAM}")
      list(APPEND extra "${TRELVANE_DEMO_PROGRAM}")
    endif()
    if(TRELVANE_DEMO_UNINSTALLER)
      list(APPEND options --uninstaller "${TRELVANE_DEMO_UNINSTALLER}")
      list(APPEND extra "${TRELVANE_DEMO_UNINSTALLER}")
    endif()
    add_custom_command(OUTPUT "${package}"
      COMMAND "${_demo_payload_tool}" "${payload}" ${options}
      COMMAND "${TRELVANE_PACKAGER}" build "${manifest}" "${package}" --source-dir "${payload}"
      DEPENDS host_tools "${manifest}" "${TRELVANE_PACKAGER}" "${_demo_payload_tool}" ${extra}
      COMMENT "Packing the demo package"
      VERBATIM)
  endif()
  set(rc "${out}/package.rc")
  file(MAKE_DIRECTORY "${out}")
  file(CONFIGURE OUTPUT "${rc}" CONTENT "// Generated: the package the installer carries.\n134 260 \"${package}\"\n")
  target_sources(${target} PRIVATE "${rc}")
  set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${package}")
  set(TRELVANE_PACKAGE_FILE "${package}" CACHE INTERNAL "The embedded package")
endfunction()
