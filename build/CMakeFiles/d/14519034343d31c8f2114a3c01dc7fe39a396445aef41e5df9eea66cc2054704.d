quillanx/quillanx_autogen/timestamp: \
  /work/main/quillanx/CMakeLists.txt \
  /work/main/quillanx/main.cpp \
  /usr/bin/cmake
