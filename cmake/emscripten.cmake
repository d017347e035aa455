# The web build: Debian's Emscripten, whose own toolchain file sets the
# compilers; here only what every file of this build is compiled with.
# Exceptions must be on in the compiler as in the linker, or a handler's
# run-time error would escape uncaught; -flto, -Oz and no run-time type
# information (nothing of the core or this backend asks a type its name)
# keep the download small.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
set(CMAKE_C_FLAGS_INIT "-fwasm-exceptions -flto")
set(CMAKE_CXX_FLAGS_INIT "-fwasm-exceptions -flto -fno-rtti")
set(CMAKE_C_FLAGS_MINSIZEREL_INIT "-Oz -DNDEBUG")
set(CMAKE_CXX_FLAGS_MINSIZEREL_INIT "-Oz -DNDEBUG")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fwasm-exceptions -flto")
