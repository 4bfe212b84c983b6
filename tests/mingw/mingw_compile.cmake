# cmake -DCXX=... -DSOURCE_DIR=... -DSQLITE_INCLUDE=... -DWORK_DIR=... -DPROBE=... -P mingw_compile.cmake
if(NOT CXX OR NOT EXISTS "${CXX}")
  message(FATAL_ERROR "MinGW-w64 g++ is not installed (Debian's g++-mingw-w64-x86-64; scripts/install-deps installs it)")
endif()
set(flags -std=c++20 -Wall -Wextra -Wpedantic -Werror -I${SOURCE_DIR} -idirafter ${SQLITE_INCLUDE})

function(run_compiler what)
  execute_process(COMMAND ${CXX} ${flags} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "MinGW-w64: ${what} fails:\n${out}")
  endif()
  message(STATUS "MinGW-w64: ${what}")
endfunction()

file(GLOB syntax_only ${SOURCE_DIR}/calendar/*.cpp ${SOURCE_DIR}/storage/*.cpp)
foreach(source IN LISTS syntax_only)
  file(RELATIVE_PATH name ${SOURCE_DIR} ${source})
  run_compiler(${name} -fsyntax-only ${source})
endforeach()

file(GLOB platform ${SOURCE_DIR}/platform/*.cpp ${SOURCE_DIR}/platform/windows/*.cpp)
file(MAKE_DIRECTORY ${WORK_DIR})
run_compiler("platform/ and platform/windows/ linked with a probe of platform.h"
  ${PROBE} ${platform} -o ${WORK_DIR}/platform_probe.exe -lshell32 -ladvapi32)
