# 32-bit Windows: the build that ships.
set(LW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
