# 32-bit Linux with SSE arithmetic (x87 would not give the exact table values), statically linked
# so qemu-i386 needs no 32-bit loader. The game keeps only 4-byte stack alignment when it calls
# in, so every function that needs more realigns its own frame.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32 -msse2 -mfpmath=sse -mincoming-stack-boundary=2")
set(CMAKE_CXX_FLAGS_INIT "-m32 -msse2 -mfpmath=sse -mincoming-stack-boundary=2")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32 -static")
find_program(QEMU_I386 qemu-i386 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QEMU_I386})
