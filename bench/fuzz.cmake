# Fuzzing harnesses (libFuzzer) for every reader of outside input: built only
# when configured with -DKV_FUZZ=ON and clang, for a local deep run, never as
# part of the ordinary build or the tests. The whole build should then carry
# the sanitizers and the coverage the fuzzer needs, e.g.
#   CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DKV_FUZZ=ON \
#     -DKV_BUILD_TESTS=OFF \
#     -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link -fno-omit-frame-pointer" \
#     -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
#     -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
# See bench/fuzz/README.md for running them.
option(KV_FUZZ "Build the libFuzzer harnesses (clang only)" OFF)
if(KV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "KV_FUZZ needs clang (libFuzzer)")
  endif()
  # The sanitizer runtimes come with the executables, so the shared GEDCOM
  # library is linked without its no-undefined check here.
  set_property(TARGET kinread PROPERTY LINK_OPTIONS "")
  function(kv_fuzz name)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    add_executable(${name} fuzz/${name}.cpp)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_include_directories(${name} PRIVATE
      "${CMAKE_CURRENT_SOURCE_DIR}/fuzz" "${CMAKE_SOURCE_DIR}/foundation"
      "${CMAKE_SOURCE_DIR}/tests/support")
  endfunction()
  kv_fuzz(fuzz_gedcom DEPS kinread foundation Qt6::Core)
  kv_fuzz(fuzz_tree_file DEPS tree_model)
  kv_fuzz(fuzz_clipboard DEPS tree_model)
  kv_fuzz(fuzz_applications DEPS applications)
  target_include_directories(fuzz_applications PRIVATE "${CMAKE_SOURCE_DIR}/tests/applications")
  kv_fuzz(fuzz_html DEPS foundation)
  kv_fuzz(fuzz_text_file DEPS foundation)
  kv_fuzz(fuzz_header DEPS chart_output)
endif()
