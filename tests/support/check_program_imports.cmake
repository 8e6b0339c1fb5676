# Fails when a shipped program imports, statically, a library that the
# system does not load from its own folder whatever the program's folder
# holds (the KnownDLLs).  Libraries imported by delay (Common Controls among
# them) are not in this table: they are loaded once the search is
# restricted to the system folder.
# -DOBJDUMP=<objdump> -DPROGRAMS=<exe|exe...>
cmake_minimum_required(VERSION 3.25)
set(allowed
  advapi32.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll ntdll.dll ole32.dll
  oleaut32.dll rpcrt4.dll sechost.dll setupapi.dll shell32.dll shlwapi.dll user32.dll ws2_32.dll)
string(REPLACE "|" ";" PROGRAMS "${PROGRAMS}")
set(failed "")
foreach(program IN LISTS PROGRAMS)
  execute_process(COMMAND "${OBJDUMP}" -p "${program}" OUTPUT_VARIABLE dump RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} could not read ${program}")
  endif()
  # Only the ordinary import table: it ends where the next table begins.
  string(FIND "${dump}" "The Import Tables" start)
  if(start EQUAL -1)
    message(FATAL_ERROR "${program}: no import table found")
  endif()
  string(SUBSTRING "${dump}" ${start} -1 imports)
  string(REGEX REPLACE "\n(The [^\n]*Table|PE File Base Relocations|The Export)[^\n]*\n.*$" "" imports "${imports}")
  string(REGEX MATCHALL "DLL Name: [^\n]+" names "${imports}")
  if(NOT names)
    message(FATAL_ERROR "${program}: no imported library found")
  endif()
  foreach(entry IN LISTS names)
    string(REGEX REPLACE "^DLL Name: " "" name "${entry}")
    string(STRIP "${name}" name)
    string(TOLOWER "${name}" name)
    if(NOT name IN_LIST allowed)
      string(APPEND failed "  ${program} imports ${name}\n")
    else()
      message(STATUS "${program}: ${name}")
    endif()
  endforeach()
endforeach()
if(failed)
  message(FATAL_ERROR "libraries a planted copy beside the program could replace:\n${failed}")
endif()
