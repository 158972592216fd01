tests/testsupport_autogen/timestamp: \
  /work/main/tests/CMakeLists.txt \
  /work/main/tests/support/fixture.cpp \
  /work/main/tests/support/fixture.h \
  /usr/bin/cmake
