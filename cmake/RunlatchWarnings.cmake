# Compiler settings shared by every target of the project.
add_library(runlatch_options INTERFACE)
target_compile_options(runlatch_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Woverloaded-virtual -Wconversion -Wsign-conversion
  -Wimplicit-fallthrough)
target_compile_definitions(runlatch_options INTERFACE
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT QT_DISABLE_DEPRECATED_UP_TO=0x060400)

# The program's own code says which encoding each string literal has; tests may use plain
# literals in their data tables.
add_library(runlatch_strict_strings INTERFACE)
target_compile_definitions(runlatch_strict_strings INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
if(RUNLATCH_WERROR)
  target_compile_options(runlatch_options INTERFACE -Werror)
endif()
if(RUNLATCH_SANITIZE)
  target_compile_options(runlatch_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(runlatch_options INTERFACE -fsanitize=address,undefined)
endif()
