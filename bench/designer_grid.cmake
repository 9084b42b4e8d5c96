kv_bench(bench_designer_grid DEPS designer_gui chart_output_gui)
# The designer on wide trees exported from generated GEDCOM files of 10,000 and 50,000 persons.
kv_bench(bench_designer_wide DEPS designer_gui kv_browser_export)
