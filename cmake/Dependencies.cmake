# Third-party code comes from Debian packages; nothing is copied into the tree.

# zlib: libz-mingw-w64-dev for Windows, zlib1g-dev for the host.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)

# stb_image: libstb-dev installs the single header under /usr/include/stb.
find_path(ZK_STB_INCLUDE_DIR stb_image.h PATHS /usr/include/stb NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_library(zk_stb INTERFACE)
target_include_directories(zk_stb SYSTEM INTERFACE ${ZK_STB_INCLUDE_DIR})

# The LZMA decoder sources of lzma-dev, compiled into whoever links zk_lzmadec.
find_path(ZK_LZMA_SOURCE_DIR LzmaDec.c PATHS /usr/include/lzma NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_library(zk_lzmadec STATIC ${ZK_LZMA_SOURCE_DIR}/LzmaDec.c)
target_include_directories(zk_lzmadec SYSTEM PUBLIC ${ZK_LZMA_SOURCE_DIR})
target_compile_options(zk_lzmadec PRIVATE -w ${ZK_SPEED_OPTIONS})
set_target_properties(zk_lzmadec PROPERTIES POSITION_INDEPENDENT_CODE ON)

# GoogleTest, built from Debian's googletest sources for each preset.
find_path(ZK_GOOGLETEST_SOURCE_DIR CMakeLists.txt PATHS /usr/src/googletest NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${ZK_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
