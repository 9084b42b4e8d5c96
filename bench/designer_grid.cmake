kv_bench(bench_designer_grid DEPS designer_gui)
