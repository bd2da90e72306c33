# libFuzzer target for the telnet codec of rfc2217:// ports, with ASan and UBSan.
set(telnet_fuzz_root ${CMAKE_CURRENT_LIST_DIR}/../..)
add_executable(telnet_fuzz
  ${CMAKE_CURRENT_LIST_DIR}/telnet_fuzz.cpp
  ${telnet_fuzz_root}/terminal/link/telnet_codec.cpp
)
target_include_directories(telnet_fuzz PRIVATE ${telnet_fuzz_root})
target_compile_options(telnet_fuzz PRIVATE
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_link_options(telnet_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)

# A short run belongs to the test command; new inputs land in the build tree.
set(telnet_corpus ${CMAKE_CURRENT_BINARY_DIR}/telnet_corpus)
file(MAKE_DIRECTORY ${telnet_corpus})
add_test(NAME fuzz_telnet
  COMMAND telnet_fuzz -max_total_time=30 -timeout=10 -rss_limit_mb=1024 -max_len=4096 ${telnet_corpus})
set_tests_properties(fuzz_telnet PROPERTIES LABELS fuzz TIMEOUT 120)
