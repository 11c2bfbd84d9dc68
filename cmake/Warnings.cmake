# Every target of the project builds with the same strict warnings; a warning is an error.
function(veltrane_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Werror
    -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual
    -Wcast-align -Wformat=2 -Wimplicit-fallthrough -Wconversion -Wsign-conversion
    -Wdouble-promotion -Wmissing-declarations -Wundef)
  # GCC 12 at -O3 reports overlapping copies inside std::string's own inlined code for ordinary
  # concatenations ("a" + text): a known false positive of that compiler, not of our code.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()
