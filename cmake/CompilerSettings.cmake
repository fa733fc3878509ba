# Build settings shared by every target, kept in one place.
add_library(kestavine_settings INTERFACE)
target_compile_features(kestavine_settings INTERFACE cxx_std_20)

# The oldest Windows each build runs on. The 32-bit programs run where the
# host client's classic versions ran, down to Windows XP SP3; the 64-bit ones
# on Windows 7 and later. The headers hide whatever is newer, so a call to it
# does not compile.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(KESTAVINE_WINDOWS_VERSION 0x0501)
else()
  set(KESTAVINE_WINDOWS_VERSION 0x0601)
endif()
target_compile_definitions(kestavine_settings INTERFACE
  UNICODE _UNICODE
  _WIN32_WINNT=${KESTAVINE_WINDOWS_VERSION} WINVER=${KESTAVINE_WINDOWS_VERSION}
  WIN32_LEAN_AND_MEAN NOMINMAX)

# The code of the program that ships. Nothing in it throws, and the C++
# exception runtime would outweigh the program, so it is built without
# exceptions; for size; and with each function and datum in a section of its
# own, so that the link can drop whatever nothing uses. Its libraries link
# this privately: the tests and tools built on them keep the plain settings.
add_library(kestavine_lean INTERFACE)
target_link_libraries(kestavine_lean INTERFACE kestavine_settings)

if(MSVC)
  target_compile_options(kestavine_settings INTERFACE /W4 /permissive- /utf-8)
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>" CACHE STRING "" FORCE)
else()
  # No build folder in what is built, so that any folder builds the same bytes.
  target_compile_options(kestavine_settings INTERFACE -Wall -Wextra
    -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=
    -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
  # Only the system DLLs at run time: the GCC runtime and libstdc++ go in statically.
  target_link_options(kestavine_settings INTERFACE -static -static-libgcc -static-libstdc++)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The header says Windows XP (5.01), the version the programs are built
    # for, rather than the linker's default.
    target_link_options(kestavine_settings INTERFACE
      -Wl,--major-os-version,5,--minor-os-version,1,--major-subsystem-version,5,--minor-subsystem-version,1)
  endif()
  target_compile_options(kestavine_lean INTERFACE -Os -fno-exceptions -ffunction-sections -fdata-sections)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # With no exceptions, the 32-bit program's DWARF unwind tables serve only
    # debuggers; the system never reads them. (The 64-bit program keeps its
    # unwind data: Windows walks the stack by it.)
    target_compile_options(kestavine_lean INTERFACE -fno-asynchronous-unwind-tables)
  endif()
endif()

# A windowed program whose entry point is wWinMain.
function(kestavine_gui_program target)
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  if(NOT MSVC)
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()

# The program as it ships: without symbols, without what nothing uses, and
# without a link time stamp, so that one source builds the same bytes anywhere.
function(kestavine_release_program target)
  kestavine_gui_program(${target})
  if(NOT MSVC)
    target_link_options(${target} PRIVATE -s -Wl,--gc-sections -Wl,--no-insert-timestamp)
  endif()
endfunction()
