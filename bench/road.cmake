# The user's whole road on generated GEDCOM files of 10,000 and 100,000
# persons: load, export, tree load, Auto Layout, save and the HTML chart.
kv_bench(bench_road DEPS kv_browser_export designer chart_output Qt6::Core)
