# Additional clean files
cmake_minimum_required(VERSION 3.16)

if("${CONFIG}" STREQUAL "" OR "${CONFIG}" STREQUAL "RelWithDebInfo")
  file(REMOVE_RECURSE
  "brevik/CMakeFiles/brevik_autogen.dir/AutogenUsed.txt"
  "brevik/CMakeFiles/brevik_autogen.dir/ParseCache.txt"
  "brevik/brevik_autogen"
  "common/CMakeFiles/common_autogen.dir/AutogenUsed.txt"
  "common/CMakeFiles/common_autogen.dir/ParseCache.txt"
  "common/common_autogen"
  "ostrel/CMakeFiles/ostrel_autogen.dir/AutogenUsed.txt"
  "ostrel/CMakeFiles/ostrel_autogen.dir/ParseCache.txt"
  "ostrel/ostrel_autogen"
  "quillanx/CMakeFiles/quillanx_autogen.dir/AutogenUsed.txt"
  "quillanx/CMakeFiles/quillanx_autogen.dir/ParseCache.txt"
  "quillanx/CMakeFiles/quillanx_core_autogen.dir/AutogenUsed.txt"
  "quillanx/CMakeFiles/quillanx_core_autogen.dir/ParseCache.txt"
  "quillanx/quillanx_autogen"
  "quillanx/quillanx_core_autogen"
  "tests/CMakeFiles/platform_tst_smoke_autogen.dir/AutogenUsed.txt"
  "tests/CMakeFiles/platform_tst_smoke_autogen.dir/ParseCache.txt"
  "tests/CMakeFiles/testsupport_autogen.dir/AutogenUsed.txt"
  "tests/CMakeFiles/testsupport_autogen.dir/ParseCache.txt"
  "tests/platform_tst_smoke_autogen"
  "tests/testsupport_autogen"
  "tools/CMakeFiles/mkdb_autogen.dir/AutogenUsed.txt"
  "tools/CMakeFiles/mkdb_autogen.dir/ParseCache.txt"
  "tools/mkdb_autogen"
  )
endif()
