kv_bench(bench_designer_menus DEPS designer)
