kv_bench(bench_designer_layout DEPS designer)
