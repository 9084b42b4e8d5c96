# GEDCOM browser: loading and listing a generated 100,000-person file, one
# keystroke of the name filter, the export to a tree definition file and the
# load of that file.
kv_bench(bench_gedcom_browser DEPS gedcom_browser kv_gedcom_generator Qt6::Core)
# The tree file a user gets from a GEDCOM file through the GEDCOM browser's
# export, for the benchmarks that start from one.
add_library(kv_browser_export STATIC BrowserExport.cpp BrowserExport.h)
target_include_directories(kv_browser_export PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}")
target_link_libraries(kv_browser_export PUBLIC gedcom_browser kv_gedcom_generator Qt6::Core)
