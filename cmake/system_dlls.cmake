# The system DLLs of the Win32 programs. Ombrisk.exe runs elevated, so no DLL lying beside it
# may be loaded in place of a system one. The loader resolves the import table before any of
# our code runs, looking in the program's folder first, except for the KnownDLLs, which always
# come from the system folder. So the import table names KnownDLLs only (those of Windows 7 and
# every later version), and every other system DLL is imported through a delay-load library:
# it is loaded at its first call, after the program has limited the search to the system
# folder (limitDllSearchToSystemFolder, first thing in main). scripts/check_imports.sh checks
# the built programs against the first list.
set(OMBRISK_IMPORTED_DLLS advapi32 gdi32 kernel32 msvcrt ole32 oleaut32 setupapi shell32 user32 ws2_32)
set(OMBRISK_DELAY_LOADED_DLLS comctl32 comdlg32 gdiplus hid msimg32 winmm)

# lib<name>_delay.a for each delay-loaded DLL, made once at configure time from the
# toolchain's import library (its exports become a .def file for dlltool).
set(OMBRISK_DELAY_LOAD_LIBRARIES)
set(delay_folder ${CMAKE_BINARY_DIR}/delay-load)
file(MAKE_DIRECTORY ${delay_folder})
foreach(name ${OMBRISK_DELAY_LOADED_DLLS})
  find_library(OMBRISK_IMPORT_LIBRARY_${name} NAMES ${name} REQUIRED)
  execute_process(COMMAND ${CMAKE_NM} ${OMBRISK_IMPORT_LIBRARY_${name}}
    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL " I __imp_[^\n]+" imports "${symbols}")
  set(definitions "LIBRARY ${name}.dll\nEXPORTS\n")
  foreach(import ${imports})
    string(REPLACE " I __imp_" "" export "${import}")
    string(APPEND definitions "${export}\n")
  endforeach()
  set(def_file ${delay_folder}/${name}.def)
  set(library ${delay_folder}/lib${name}_delay.a)
  file(CONFIGURE OUTPUT ${def_file} CONTENT "${definitions}" @ONLY)
  if(NOT EXISTS ${library} OR ${def_file} IS_NEWER_THAN ${library})
    execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${def_file} --dllname ${name}.dll
      --output-delaylib ${library} COMMAND_ERROR_IS_FATAL ANY)
  endif()
  list(APPEND OMBRISK_DELAY_LOAD_LIBRARIES ${library})
endforeach()
