# Settings every target of the project shares.

if(WIN32)
  set(VORMISTA_PLATFORM win32)
else()
  set(VORMISTA_PLATFORM posix)
endif()

if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64|i[3-6]86|x86)$")
  set(VORMISTA_X86 ON)
else()
  set(VORMISTA_X86 OFF)
endif()

# Applies the project's warnings, all of them errors, to one of its own targets.
function(vormista_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  else()
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow
      -Wmissing-declarations -Wold-style-cast -Wcast-qual -Werror)
  endif()
endfunction()

# Shipped Windows programs carry their runtime: no libgcc, libstdc++ or winpthread DLL
# that a clean Windows lacks.
if(MINGW)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# Sanitizer builds: -DVORMISTA_SANITIZE=ON instruments everything, tests included.
option(VORMISTA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(VORMISTA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
