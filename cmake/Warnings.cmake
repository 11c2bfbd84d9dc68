# Every target of the project builds with the same strict warnings; a warning is an error.
function(veltrane_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Werror
    -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual
    -Wcast-align -Wformat=2 -Wimplicit-fallthrough -Wconversion -Wsign-conversion
    -Wdouble-promotion -Wmissing-declarations -Wundef)
endfunction()
