# How fast the project builds: the compiler cache, the linker and unity
# builds. None of this changes what is compiled or what a test checks.

# The compiler cache (ccache), when it is installed, for every configuration.
# Paths below the source folder are hashed relative to it (base_dir) and the
# build folder's own path is left out of the hash (no hash_dir), so that a
# clone in another folder finds the objects an earlier clone left: the
# compiler is handed relative paths, so __FILE__ and the debug line tables
# name the same files in every clone. PCH and time macros are not used with
# the cache (the build stamp's __DATE__ and __TIME__ must stay those of the
# newest build), so no sloppiness is needed.
option(TRELVAN_CCACHE "Compile through ccache when it is installed" ON)
if(TRELVAN_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  find_program(TRELVAN_CCACHE_PROGRAM ccache)
  find_program(TRELVAN_ENV_PROGRAM env)
  if(TRELVAN_CCACHE_PROGRAM AND TRELVAN_ENV_PROGRAM)
    set(launcher ${TRELVAN_ENV_PROGRAM} CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} CCACHE_NOHASHDIR=true
        ${TRELVAN_CCACHE_PROGRAM})
    set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
    set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
    # A unity file includes its sources by absolute path, which ccache does
    # not rewrite: __FILE__ (GoogleTest names each test's file with it) is
    # made relative to the source folder instead.
    add_compile_options(-fmacro-prefix-map=${PROJECT_SOURCE_DIR}/=)
  endif()
endif()

# The linker: mold, else lld, when the compiler can use it. Linking the
# Qt test programs with their debug information is most of an incremental
# build's time with the default linker.
set(TRELVAN_LINKER "auto" CACHE STRING "Linker for -fuse-ld (auto: mold, else lld, else the default)")
include(CheckLinkerFlag)
if(TRELVAN_LINKER STREQUAL "auto")
  foreach(candidate mold lld)
    check_linker_flag(CXX "-fuse-ld=${candidate}" TRELVAN_LINKER_${candidate})
    if(TRELVAN_LINKER_${candidate})
      add_link_options(-fuse-ld=${candidate})
      break()
    endif()
  endforeach()
elseif(TRELVAN_LINKER)
  add_link_options(-fuse-ld=${TRELVAN_LINKER})
endif()

# Unity builds: the test programs' files are compiled a few at a time in one
# file each, so that GoogleTest, Qt and QCustomPlot are parsed and their
# templates instantiated once per batch rather than once per file. A file
# that cannot share (names that clash in an unnamed namespace) is marked
# SKIP_UNITY_BUILD_INCLUSION where its target is made.
option(TRELVAN_UNITY "Compile the tests (and, but for AddressSanitizer, the layers) in unity batches" ON)
set(TRELVAN_UNITY_BATCH 8 CACHE STRING "Files per unity batch")
set(CMAKE_UNITY_BUILD_BATCH_SIZE ${TRELVAN_UNITY_BATCH})
# AddressSanitizer's initialisation-order check looks across object files, so
# in that build the program's own layers keep one object per source file.
if(TRELVAN_UNITY AND NOT TRELVAN_SANITIZE MATCHES "address")
  set(TRELVAN_UNITY_LAYERS ON)
else()
  set(TRELVAN_UNITY_LAYERS OFF)
endif()
