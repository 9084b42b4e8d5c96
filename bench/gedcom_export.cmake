kv_bench(bench_gedcom_export DEPS tree_model)
