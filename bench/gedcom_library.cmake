# GEDCOM library: a generator of large GEDCOM files and the loading benchmark.
add_library(kv_gedcom_generator STATIC GedcomGenerator.cpp GedcomGenerator.h)
target_include_directories(kv_gedcom_generator PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}")
add_executable(gen_gedcom gen_gedcom.cpp)
target_link_libraries(gen_gedcom PRIVATE kv_gedcom_generator)
kv_bench(bench_gedcom_load DEPS kinread kv_gedcom_generator Qt6::Core)
target_include_directories(bench_gedcom_load PRIVATE "${CMAKE_SOURCE_DIR}/foundation")
kv_bench(bench_gedcom_dates DEPS kinread)
