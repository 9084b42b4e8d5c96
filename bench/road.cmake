# The user's whole road on generated GEDCOM files of 10,000 and 100,000
# persons: load, export, tree load, Auto Layout, save and the HTML chart.
kv_bench(bench_road DEPS gedcom_browser designer chart_output kv_gedcom_generator Qt6::Core)
