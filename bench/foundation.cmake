kv_bench(bench_textfile DEPS foundation)
