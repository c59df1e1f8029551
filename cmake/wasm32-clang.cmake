# WebAssembly with Debian's clang and wasm-ld, freestanding: no C or C++
# library exists for this target, and the game needs none. The headers
# <cstdint> and <cstddef> come from web/wasm/freestanding over the
# compiler's own. Host tools (the art generators) still build with g++.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET wasm32)
set(CMAKE_CXX_COMPILER_TARGET wasm32)
find_program(CMAKE_AR NAMES llvm-ar llvm-ar-14 REQUIRED)
find_program(CMAKE_RANLIB NAMES llvm-ranlib llvm-ranlib-14 REQUIRED)

# Nothing can be linked before the project says how: test the compiler only.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(freestanding "-ffreestanding -fno-exceptions -fno-rtti -nostdinc++")
set(CMAKE_C_FLAGS_INIT "-ffreestanding")
set(CMAKE_CXX_FLAGS_INIT "${freestanding} -isystem ${CMAKE_CURRENT_LIST_DIR}/../web/wasm/freestanding")
# The compile flags reach the link line too, where -nostdinc++ means nothing.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-nostdlib -Wno-unused-command-line-argument")
