# Compiler settings and test helpers shared by both trees.
set(OMBRISK_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

# Table rows leave trailing members to their defaults on purpose.
add_compile_options(-Wall -Wextra -Wno-missing-field-initializers -finput-charset=UTF-8 -fexec-charset=UTF-8)

if(WIN32)
  set(OMBRISK_WIN32 ON)
  # Ombrisk.exe must run on a clean Windows: no MinGW runtime DLLs beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  # Every Wine test runs through the wrapper with its private prefix and display.
  set(OMBRISK_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${OMBRISK_ROOT}/scripts/wine-run.sh --prefix ${OMBRISK_WINEPREFIX})
  include(${CMAKE_CURRENT_LIST_DIR}/system_dlls.cmake)
else()
  set(OMBRISK_WIN32 OFF)
  option(OMBRISK_SANITIZE "Build the native tree with ASan and UBSan" ON)
  if(OMBRISK_SANITIZE)
    # -O1 is what the sanitizers are made for, and compiles a good deal faster than -O2; line
    # tables are all their reports need.
    add_compile_options(-O1 -g1 -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
  endif()
  # scripts/fuzz.sh: a clang tree whose code carries libFuzzer's coverage (tests/fuzz).
  option(OMBRISK_FUZZ "Build the fuzz targets as libFuzzer programs (clang)" OFF)
  if(OMBRISK_FUZZ)
    add_compile_options(-O2 -fsanitize=fuzzer-no-link  # fuzzing wants speed more than quick builds
                        -fsanitize-coverage-ignorelist=${OMBRISK_ROOT}/tests/fuzz/coverage_ignorelist.txt)
  endif()
endif()

# Wine tests share one prefix and one wineserver, so they run one at a time; each
# executable holds many GoogleTest cases and is one CTest test.
function(ombrisk_wine_test name)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wineprefix TIMEOUT 600)
endfunction()

# Adds every subfolder of the current folder that has a CMakeLists.txt (tools/, bench/);
# extra arguments (EXCLUDE_FROM_ALL) go to add_subdirectory.
function(ombrisk_add_subfolders)
  file(GLOB entries LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(dir ${entries})
    if(IS_DIRECTORY ${dir} AND EXISTS ${dir}/CMakeLists.txt)
      add_subdirectory(${dir} ${ARGN})
    endif()
  endforeach()
endfunction()

# The version for code: OMBRISK_VERSION ("1.0.0") for whatever links ombrisk_version.
add_library(ombrisk_version INTERFACE)
target_compile_definitions(ombrisk_version INTERFACE OMBRISK_VERSION="${PROJECT_VERSION}")

# Windows version information of an executable (the file's properties), from the project's
# version: ombrisk_version_resource(target "File description" "Name.exe").
function(ombrisk_version_resource target description file_name)
  set(OMBRISK_FILE_DESCRIPTION ${description})
  set(OMBRISK_ORIGINAL_FILENAME ${file_name})
  set(OMBRISK_INTERNAL_NAME ${target})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${OMBRISK_ROOT}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
