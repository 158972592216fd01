brevik/brevik_autogen/timestamp: \
  /work/main/brevik/CMakeLists.txt \
  /work/main/brevik/brevik.cpp \
  /work/main/brevik/brevik.h \
  /usr/bin/cmake
