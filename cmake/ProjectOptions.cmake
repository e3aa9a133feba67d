# Compiler settings shared by every target of the suite.
add_library(vespera_options INTERFACE)
target_compile_features(vespera_options INTERFACE cxx_std_20)

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(vespera_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow)
endif()

if(WIN32)
  # Unicode Win32 API throughout, no min/max macros, Windows 10 as the oldest target.
  target_compile_definitions(vespera_options INTERFACE
    UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00 WINVER=0x0A00)
  # The programs must run on a clean Windows: no MinGW runtime DLLs beside them.
  target_link_options(vespera_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()

if(VESPERA_SANITIZE)
  target_compile_options(vespera_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(vespera_options INTERFACE -fsanitize=address,undefined)
endif()

if(VESPERA_FUZZ)
  target_compile_options(vespera_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(vespera_options INTERFACE -fsanitize=address,undefined)
endif()
