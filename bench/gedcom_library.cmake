# GEDCOM library: a generator of large GEDCOM files and the loading benchmark.
add_library(kv_gedcom_generator STATIC GedcomGenerator.cpp GedcomGenerator.h)
target_include_directories(kv_gedcom_generator PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}")
add_executable(gen_gedcom gen_gedcom.cpp)
target_link_libraries(gen_gedcom PRIVATE kv_gedcom_generator)
kv_bench(bench_gedcom_load DEPS kinread kv_gedcom_generator Qt6::Core)
target_include_directories(bench_gedcom_load PRIVATE "${CMAKE_SOURCE_DIR}/foundation")
kv_bench(bench_gedcom_dates DEPS kinread)
kv_bench(bench_gedcom_layout DEPS kinread kv_gedcom_generator Qt6::Core)
target_include_directories(bench_gedcom_layout PRIVATE "${CMAKE_SOURCE_DIR}/foundation")
# One load in a process of its own, for timing from outside and for comparing
# what two builds of the library answer: on the program's heap and on the C
# library's (the library's hosts need not use the program's heap).
add_executable(load_gedcom load_gedcom.cpp)
target_link_libraries(load_gedcom PRIVATE kv_heap kinread Qt6::Core tsl::ordered_map)
target_include_directories(load_gedcom PRIVATE "${CMAKE_SOURCE_DIR}/foundation")
add_executable(load_gedcom_libc load_gedcom.cpp)
target_link_libraries(load_gedcom_libc PRIVATE kinread Qt6::Core tsl::ordered_map)
target_include_directories(load_gedcom_libc PRIVATE "${CMAKE_SOURCE_DIR}/foundation")
# The text index of identifiers and dates, built from its own source (the
# library does not export it).
kv_bench(bench_gedcom_index "${CMAKE_SOURCE_DIR}/gedcom_library/GEDTextIndex.cpp"
         "${CMAKE_SOURCE_DIR}/gedcom_library/GEDBigTable.cpp" DEPS Qt6::Core)
target_include_directories(bench_gedcom_index PRIVATE "${CMAKE_SOURCE_DIR}/gedcom_library")
