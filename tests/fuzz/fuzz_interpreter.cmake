# libFuzzer target for the receive interpreter, with ASan and UBSan.
set(interpreter_fuzz_root ${CMAKE_CURRENT_LIST_DIR}/../..)
file(GLOB interpreter_fuzz_sources
  ${interpreter_fuzz_root}/terminal/model/*.cpp
  ${interpreter_fuzz_root}/terminal/interpreter/*.cpp
)
# The native platform is checked by the sanitizers but not steered for
# coverage: its raster loops would only slow the search down.
# Beside it, the portable parts of the link it writes its log with.
file(GLOB interpreter_fuzz_platform_sources ${interpreter_fuzz_root}/terminal/native/*.cpp)
# Code page 932 through the Windows system is for the Windows builds.
list(FILTER interpreter_fuzz_platform_sources EXCLUDE REGEX "_win32\\.cpp$")
list(APPEND interpreter_fuzz_platform_sources
  ${interpreter_fuzz_root}/terminal/link/log_writer.cpp
  ${interpreter_fuzz_root}/terminal/link/log_format.cpp
  ${interpreter_fuzz_root}/terminal/link/link_texts.cpp
)
add_library(interpreter_fuzz_platform STATIC ${interpreter_fuzz_platform_sources})
target_include_directories(interpreter_fuzz_platform PUBLIC ${interpreter_fuzz_root})
target_compile_options(interpreter_fuzz_platform PRIVATE
  -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_executable(interpreter_fuzz ${CMAKE_CURRENT_LIST_DIR}/interpreter_fuzz.cpp ${interpreter_fuzz_sources})
target_include_directories(interpreter_fuzz PRIVATE ${interpreter_fuzz_root})
target_link_libraries(interpreter_fuzz PRIVATE interpreter_fuzz_platform)
target_compile_options(interpreter_fuzz PRIVATE
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_link_options(interpreter_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)

# A short run belongs to the test command; new inputs land in the build tree.
set(interpreter_corpus ${CMAKE_CURRENT_BINARY_DIR}/interpreter_corpus)
file(MAKE_DIRECTORY ${interpreter_corpus})
add_test(NAME fuzz_interpreter
  COMMAND interpreter_fuzz -max_total_time=30 -timeout=20 -rss_limit_mb=2048 -max_len=4096
          ${interpreter_corpus})
set_tests_properties(fuzz_interpreter PROPERTIES LABELS fuzz TIMEOUT 120)
