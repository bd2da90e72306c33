# libFuzzer target for orvik's Intel HEX reader, with ASan and UBSan.
set(hex_reader_fuzz_root ${CMAKE_CURRENT_LIST_DIR}/../..)
add_executable(hex_reader_fuzz
  ${CMAKE_CURRENT_LIST_DIR}/hex_reader_fuzz.cpp
  ${hex_reader_fuzz_root}/converter/hex_reader.cpp
)
target_include_directories(hex_reader_fuzz PRIVATE ${hex_reader_fuzz_root})
target_compile_options(hex_reader_fuzz PRIVATE
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_link_options(hex_reader_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)

# A short run belongs to the test command; new inputs land in the build tree,
# the seeds stay read-only.
set(hex_reader_corpus ${CMAKE_CURRENT_BINARY_DIR}/hex_reader_corpus)
file(MAKE_DIRECTORY ${hex_reader_corpus})
add_test(NAME fuzz_hex_reader
  COMMAND hex_reader_fuzz -max_total_time=30 -timeout=10 -rss_limit_mb=1024
          ${hex_reader_corpus} ${hex_reader_fuzz_root}/tests/converter/hex_seeds)
set_tests_properties(fuzz_hex_reader PROPERTIES LABELS fuzz TIMEOUT 120)
