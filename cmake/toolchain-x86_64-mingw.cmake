# 64-bit Windows: the same program, for testing where 32-bit programs cannot run.
set(LW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
