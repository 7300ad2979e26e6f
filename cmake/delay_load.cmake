# Delay-loaded system DLLs. A DLL imported the ordinary way is loaded before the program's
# first instruction, searched for in the program's own folder first: a file of that name
# planted beside setup.exe (in the download folder, say) would run with the installer's
# elevated rights. Imported through a delay library, the DLL is loaded at its first call,
# after the entry point has limited every search to the system directory.
#
# lw_delay_import(NAME) makes the imported target delay_NAME: a delay import library with
# every function of MinGW's import library libNAME.a, made at configure time with the
# toolchain's nm and dlltool, plus the delay-load helper and the library's own code (GDI+'s
# has some), which calls the DLL through the delay library too.
find_program(LW_NM ${LW_CROSS}-nm REQUIRED)
find_program(LW_DLLTOOL ${LW_CROSS}-dlltool REQUIRED)
find_program(LW_AR ${LW_CROSS}-ar REQUIRED)
find_library(LW_DELAYIMP NAMES libdelayimp.a REQUIRED)

function(lw_delay_import name)
  find_library(LW_IMPORT_${name} NAMES lib${name}.a REQUIRED)
  set(dir ${CMAKE_BINARY_DIR}/delay)
  set(def ${dir}/${name}.def)
  set(lib ${dir}/lib${name}_delay.a)
  file(MAKE_DIRECTORY ${dir})
  execute_process(COMMAND ${LW_NM} ${LW_IMPORT_${name}} OUTPUT_VARIABLE symbols
                  COMMAND_ERROR_IS_FATAL ANY)
  # The import thunks' symbols name the functions: "__imp__F@8" for i686 (stdcall
  # decoration kept for linking, dropped from the DLL's names by -k), "__imp_F" for x86_64.
  string(REGEX MATCHALL "I __imp_[^\r\n]+" imports "${symbols}")
  set(text "LIBRARY ${name}.dll\nEXPORTS\n")
  foreach(entry ${imports})
    string(REGEX REPLACE "^I __imp_" "" function "${entry}")
    if(LW_ARCH STREQUAL "i686")
      string(REGEX REPLACE "^_" "" function "${function}")
    endif()
    string(APPEND text "${function}\n")
  endforeach()
  file(WRITE ${def} "${text}")
  set(kill_at)
  if(LW_ARCH STREQUAL "i686")
    set(kill_at -k)
  endif()
  execute_process(COMMAND ${LW_DLLTOOL} ${kill_at} --input-def ${def} --output-delaylib ${lib}
                          --dllname ${name}.dll
                  COMMAND_ERROR_IS_FATAL ANY)
  # dlltool names the import members lib<name>h.o, lib<name>t.o and lib<name>sNNNNN.o;
  # whatever else the library holds is code of its own.
  execute_process(COMMAND ${LW_AR} t ${LW_IMPORT_${name}} OUTPUT_VARIABLE members
                  COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "[^\r\n]+" members "${members}")
  list(FILTER members EXCLUDE REGEX "^lib${name}[hst][0-9]*\\.o$")
  set(links ${LW_DELAYIMP})
  if(members)
    set(code ${dir}/lib${name}_code.a)
    file(REMOVE ${code})
    execute_process(COMMAND ${LW_AR} x ${LW_IMPORT_${name}} ${members} WORKING_DIRECTORY ${dir}
                    COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND ${LW_AR} rcs ${code} ${members} WORKING_DIRECTORY ${dir}
                    COMMAND_ERROR_IS_FATAL ANY)
    list(APPEND links ${code} ${lib})
  endif()
  add_library(delay_${name} STATIC IMPORTED GLOBAL)
  set_target_properties(delay_${name} PROPERTIES IMPORTED_LOCATION ${lib}
    INTERFACE_LINK_LIBRARIES "${links}")
endfunction()

# The DLLs setup.exe uses that are not among the system's known DLLs (which the system
# loads from its own directory only).
foreach(name version bcrypt crypt32 gdiplus)
  lw_delay_import(${name})
endforeach()
