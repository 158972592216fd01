# CMake generated Testfile for 
# Source directory: /work/main/tests
# Build directory: /work/main/build/tests
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
add_test([=[platform_tst_smoke]=] "/work/main/build/bin/platform_tst_smoke")
set_tests_properties([=[platform_tst_smoke]=] PROPERTIES  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8" TIMEOUT "300" _BACKTRACE_TRIPLES "/work/main/tests/CMakeLists.txt;15;add_test;/work/main/tests/CMakeLists.txt;0;")
