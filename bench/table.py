"""Prints the speed table from the benchmark outputs in the folder given (see table.sh)."""
import json
import pathlib
import sys

folder = pathlib.Path(sys.argv[1])
runs = {}
for f in folder.glob("*.json"):
    for b in json.loads(f.read_text()).get("benchmarks", []):
        if b.get("error_occurred"):
            continue
        # Medians of the repetitions; a single run stands for itself.
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        name = b["run_name"]
        if b.get("run_type") == "aggregate" or name not in runs:
            runs[name] = b


def find(prefix):
    """The run named prefix, or prefix followed by Google Benchmark's own suffixes."""
    if prefix in runs:
        return runs[prefix]
    for name in sorted(runs):
        if name.startswith(prefix + "/"):
            return runs[name]
    return None


def ms(name, kind="real_time"):
    b = find(name)
    if b is None:
        return None
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b.get("time_unit", "ns")]
    return b[kind] * scale


def counter(name, key):
    """A run's counter, in the unit it was stored in."""
    b = find(name)
    return None if b is None or key not in b else b[key]


def per_pixel(name, pixels):
    t = ms(name)
    return None if t is None else t / pixels


W, H = 4000, 3000
memcpy = per_pixel("BM_Memcpy", W * H)
rows = []


def row(what, ours, ref, goal, unit="x", cpu=None):
    ratio = None if ours is None or ref is None or ref == 0 else ours / ref
    rows.append((what, ratio, goal, unit, cpu))


def cpu_ratio(ours, ref):
    """The same ratio in processor time of the timing thread: what a busy machine inflates least."""
    a, b = ms(ours, "cpu_time"), ms(ref, "cpu_time")
    return None if a is None or not b else a / b


row("load PNG vs QImageReader", ms("BM_LoadImageFile/png"), ms("BM_QImageReader/png"), 1.0,
    cpu=cpu_ratio("BM_LoadImageFile/png", "BM_QImageReader/png"))
row("load JPEG vs QImageReader", ms("BM_LoadImageFile/jpg"), ms("BM_QImageReader/jpg"), 1.0,
    cpu=cpu_ratio("BM_LoadImageFile/jpg", "BM_QImageReader/jpg"))
row("first open PNG (command line) vs minimal Qt", ms("Start/png"), counter("Start/png", "minimal_ms"),
    1.2)
row("first open JPEG (command line) vs minimal Qt", ms("Start/jpg"), counter("Start/jpg", "minimal_ms"),
    1.2)
row("save JPEG vs QImageWriter", ms("BM_SaveImageFile/jpg"), ms("BM_QImageWriter/jpg"), 1.05,
    cpu=cpu_ratio("BM_SaveImageFile/jpg", "BM_QImageWriter/jpg"))
row("keyed copy vs memcpy", ms("BM_CopyKeyed"), ms("BM_Memcpy"), 1.0,
    cpu=cpu_ratio("BM_CopyKeyed", "BM_Memcpy"))
for side, arg, goal in ((11, 5, 1.5), (101, 50, 1.1)):
    b = find("BM_ContinuousStroke/%d" % arg)
    stamps = b.get("stamps") if b else None
    ours = per_pixel("BM_ContinuousStroke/%d" % arg, stamps * side * side) if stamps else None
    cpu = cpu_ratio("BM_ContinuousStroke/%d" % arg, "BM_Memcpy")
    cpu = cpu * W * H / (stamps * side * side) if cpu and stamps else None
    row("stroke %dx%d per pixel vs memcpy per pixel" % (side, side), ours, memcpy, goal, cpu=cpu)
mem = find("BM_MemoryAfterOpen")
# Resident memory counts whole pictures only roughly: one picture is anything below 1.5.
rows.append(("memory with one picture open (pictures)", mem.get("pictures") if mem else None,
             1.49, "", None))
row("start to interactive (blank) vs minimal Qt", ms("Start/blank"),
    counter("Start/blank", "minimal_ms"), 1.2)
for size in (5, 3):
    row("convolution %dx%d (2 threads) vs OpenCV filter2D" % (size, size),
        ms("BM_Convolution/%d/2" % size), ms("BM_OpenCVFilter2D/%d" % size),
        1.0, cpu=cpu_ratio("BM_Convolution/%d/1" % size, "BM_OpenCVFilter2D/%d" % size))

print("Medians of the repetitions, wall clock; 'cpu' is the same ratio in processor time of one")
print("thread (the convolution's on one core), which a busy machine distorts least.")
print("%-50s %9s %7s  %-5s %s" % ("row", "measured", "goal", "", "cpu"))
for what, value, goal, unit, cpu in rows:
    cpu_text = "" if cpu is None else "%.2f%s" % (cpu, unit)
    if value is None:
        print("%-50s %9s %7s  not measured" % (what, "-", "<= %.2f" % goal))
        continue
    ok = "ok" if value <= goal else "OVER"
    print("%-50s %8.2f%s %7s  %-5s %s" % (what, value, unit, "<= %.2f" % goal, ok, cpu_text))
