kv_bench(bench_chart_draw DEPS chart_output)
kv_bench(bench_chart_run DEPS chart_output)
