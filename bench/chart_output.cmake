kv_bench(bench_chart_draw DEPS chart_output)
