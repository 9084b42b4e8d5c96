kv_bench(bench_tree_model DEPS tree_model)
