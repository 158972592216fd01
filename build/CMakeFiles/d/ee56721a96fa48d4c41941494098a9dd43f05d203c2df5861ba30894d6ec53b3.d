tools/mkdb_autogen/timestamp: \
  /work/main/tools/CMakeLists.txt \
  /work/main/tools/mkdb.cpp \
  /usr/bin/cmake
