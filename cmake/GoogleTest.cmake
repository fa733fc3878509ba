# GoogleTest from Debian's source package when it is there (cross builds on
# Linux), otherwise an installed package (vcpkg or similar on Windows).
set(KESTAVINE_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources to build for the target")
set(KESTAVINE_HAVE_GTEST OFF)

if(EXISTS "${KESTAVINE_GTEST_SOURCE_DIR}/CMakeLists.txt")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  add_subdirectory("${KESTAVINE_GTEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
  set(KESTAVINE_HAVE_GTEST ON)
else()
  find_package(GTest CONFIG QUIET)
  if(GTest_FOUND)
    set(KESTAVINE_HAVE_GTEST ON)
  else()
    message(WARNING "GoogleTest not found: the tests are not built")
  endif()
endif()
