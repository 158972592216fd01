ostrel/ostrel_autogen/timestamp: \
  /work/main/ostrel/CMakeLists.txt \
  /work/main/ostrel/ostrel.cpp \
  /work/main/ostrel/ostrel.h \
  /usr/bin/cmake
