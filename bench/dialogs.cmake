# The viewpoint manager over a tree of 100,000 persons (widgets on the offscreen platform).
kv_bench(bench_viewpoint_manager DEPS dialogs_gui)
