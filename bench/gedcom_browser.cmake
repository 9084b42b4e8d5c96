# GEDCOM browser: loading and listing a generated 100,000-person file, one
# keystroke of the name filter, the export to a tree definition file and the
# load of that file.
kv_bench(bench_gedcom_browser DEPS gedcom_browser kv_gedcom_generator Qt6::Core)
