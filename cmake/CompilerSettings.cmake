# Build settings shared by every target, kept in one place.
add_library(kestavine_settings INTERFACE)
target_compile_features(kestavine_settings INTERFACE cxx_std_20)
target_compile_definitions(kestavine_settings INTERFACE
  UNICODE _UNICODE
  _WIN32_WINNT=0x0601 WINVER=0x0601
  WIN32_LEAN_AND_MEAN NOMINMAX)

if(MSVC)
  target_compile_options(kestavine_settings INTERFACE /W4 /permissive- /utf-8)
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>" CACHE STRING "" FORCE)
else()
  target_compile_options(kestavine_settings INTERFACE -Wall -Wextra)
  # Only the system DLLs at run time: the GCC runtime and libstdc++ go in statically.
  target_link_options(kestavine_settings INTERFACE -static -static-libgcc -static-libstdc++)
endif()

# A windowed program whose entry point is wWinMain.
function(kestavine_gui_program target)
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  if(NOT MSVC)
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()
