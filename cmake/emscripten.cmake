# The web build: Debian's Emscripten, whose own toolchain file sets the
# compilers; here only what every file of this build is compiled with.
# Exceptions must be on in the compiler as in the linker, or a handler's
# run-time error would escape uncaught; -flto and -Os keep the download small.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
set(CMAKE_C_FLAGS_INIT "-fwasm-exceptions -flto")
set(CMAKE_CXX_FLAGS_INIT "-fwasm-exceptions -flto")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fwasm-exceptions -flto")
