# Writes the argument bytes that mingw-w64's import libraries declare (_Name@N) for every
# function that SOURCE lists with STDCALL_EXPORT(library, Name), as a C++ table. A function the
# libraries do not declare gets no row, so the check against it fails to compile.
# cmake -DNM=... -DLIBRARY_DIR=... -DSOURCE=... -DOUTPUT=... -P mingw_stdcall_bytes.cmake
file(READ ${SOURCE} source)
string(REGEX MATCHALL "STDCALL_EXPORT\\([A-Za-z0-9_.]+, *[A-Za-z0-9_]+\\)" entries "${source}")
set(libraries "")
foreach(library kernel32 user32 gdi32 ntdll)
  list(APPEND libraries ${LIBRARY_DIR}/lib${library}.a)
endforeach()
execute_process(COMMAND ${NM} -g --defined-only ${libraries} OUTPUT_VARIABLE symbols
                COMMAND_ERROR_IS_FATAL ANY ERROR_QUIET)
set(rows "")
foreach(entry ${entries})
  string(REGEX REPLACE ".*, *([A-Za-z0-9_]+)\\)" "\\1" name "${entry}")
  string(REGEX MATCH " T _${name}@([0-9]+)\n" found "${symbols}")
  if(found)
    string(APPEND rows "    {\"${name}\", ${CMAKE_MATCH_1}},\n")
  endif()
endforeach()
file(WRITE ${OUTPUT}.new "// Written by cmake/mingw_stdcall_bytes.cmake from mingw-w64's import libraries.
#pragma once
namespace qz::win32 {
struct DeclaredStdcall {
  const char* name;
  int argument_bytes;
};
inline constexpr DeclaredStdcall kMingwStdcalls[] = {
${rows}};
}  // namespace qz::win32
")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
