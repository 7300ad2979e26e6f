# Imported targets for the Windows builds of the dependencies (scripts/bootstrap.sh).
include(${LW_DEPS_FILE})

add_library(tinyxml STATIC IMPORTED)
set_target_properties(tinyxml PROPERTIES
  IMPORTED_LOCATION ${LW_TINYXML_DIR}/lib/libtinyxml.a
  INTERFACE_INCLUDE_DIRECTORIES ${LW_TINYXML_DIR}/include
  INTERFACE_COMPILE_DEFINITIONS TIXML_USE_STL)

# Bodies are read in blocks of 1 MiB instead of 4 KiB: the library waits for readability
# before every socket read, and under Wine the wait and the read are each a round trip to
# the wine server, so small blocks hold a download to a fraction of what the loopback link
# carries. Set for every user of the header, so all agree on it. The block is a local array
# of the reading function, so programs using the library reserve 8 MiB of stack per thread
# instead of the linker's 2 MiB (address space only; pages are committed as they are used).
add_library(httplib INTERFACE IMPORTED)
set_target_properties(httplib PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${LW_HTTPLIB_DIR}/include
  INTERFACE_COMPILE_DEFINITIONS "CPPHTTPLIB_RECV_BUFSIZ=size_t(1048576u)"
  INTERFACE_LINK_LIBRARIES "ws2_32;delay_crypt32"
  INTERFACE_LINK_OPTIONS "-Wl,--stack,8388608")

# 7-Zip's handlers and codecs register themselves from static initialisers that nothing
# references, so the whole library is linked in. The library defines the interface GUIDs;
# clients include 7-Zip's headers without MyInitGuid.h.
add_library(sevenzip INTERFACE IMPORTED)
set_target_properties(sevenzip PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${LW_7ZIP_DIR}/src/CPP
  INTERFACE_LINK_LIBRARIES "-Wl,--whole-archive;${LW_7ZIP_DIR}/lib/lib7zextract.a;-Wl,--no-whole-archive;oleaut32;uuid")

add_library(curl STATIC IMPORTED)
set_target_properties(curl PROPERTIES
  IMPORTED_LOCATION ${LW_CURL_DIR}/lib/libcurl.a
  INTERFACE_INCLUDE_DIRECTORIES ${LW_CURL_DIR}/include
  INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
  INTERFACE_LINK_LIBRARIES "ws2_32;delay_crypt32;secur32;delay_bcrypt;advapi32")

# zlib from Debian's MinGW package.
find_library(LW_ZLIB NAMES libz.a REQUIRED)
add_library(zlib STATIC IMPORTED)
set_target_properties(zlib PROPERTIES IMPORTED_LOCATION ${LW_ZLIB})
