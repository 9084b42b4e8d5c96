# Mouse gestures of the Tree Designer on 10,000 persons (widgets on the offscreen platform).
kv_bench(bench_designer_gestures DEPS designer_gui)
