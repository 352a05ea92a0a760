#!/usr/bin/env python3
"""Turns the benchmark JSON files into one table of medians, floors, ratios and targets, measures
the resident memory of palette programs against a minimal C++ program, and writes
bench/RESULTS.md."""
import json
import os
import platform
import statistics
import subprocess
import sys
import tempfile
import pathlib

build, results, target_file = sys.argv[1], pathlib.Path(sys.argv[2]), sys.argv[3]


def load():
    runs = {}
    for path in results.glob("*.json"):
        data = json.loads(path.read_text())
        for b in data["benchmarks"]:
            if b.get("run_type") == "aggregate":
                continue
            name = b["run_name"]
            scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b["time_unit"]]
            runs.setdefault(name, []).append(b["real_time"] * scale)
    return {k: statistics.median(v) for k, v in runs.items()}


RUNS = load()


def find(fragment):
    matches = [k for k in RUNS if k == fragment or k.startswith(fragment + "/")]
    return matches[0] if matches else None


def fmt(seconds):
    if seconds is None:
        return "-"
    for unit, scale in (("s", 1), ("ms", 1e-3), ("us", 1e-6), ("ns", 1e-9)):
        if seconds >= scale:
            return f"{seconds / scale:.3g} {unit}"
    return f"{seconds * 1e9:.3g} ns"


# (label, ours, floor, absolute limit in seconds or None, ratio limit or None)
ROWS = [
    ("PlotPixel, hidden page", "BM_PlotPixelHiddenPage", "BM_PlotPixelFloor", 3e-9, 2.5),
    ("PlotPixel, page on show", "BM_PlotPixelMirrored", "BM_PlotPixelFloor", 5e-9, None),
    ("SetFillStyle + 3x3 FillBar", "BM_FillCellHiddenPage", "BM_FillCellFloor", 20e-9, None),
    ("SetShowPage + repaint 800x600", "BM_ShowPageRepaint", "BM_RepaintFloor", 1e-3, None),
    ("SetPaletteRGB + repaint", "BM_SetPaletteRgbRepaint", "BM_RepaintFloor", 1e-3, None),
    ("KeyWaiting", "BM_KeyWaiting", None, 5e-9, None),
    ("OpenCanvas", "BM_OpenCanvas", None, 30e-3, None),
    ("CloseCanvas", "BM_CloseCanvas", None, 30e-3, None),
    ("perlin_noise frame", "BM_PerlinNoiseFrame", "BM_PerlinNoiseFrameFloor", None, 1.10),
    ("perlin_textures frame", "BM_PerlinTexturesFrame", "BM_PerlinTexturesFrameFloor", None, 1.10),
    ("mandelbrot_explorer first redraw", "BM_StartingRedraw", "BM_StartingRedrawFloor", None, 1.10),
    ("plasma_family image 1280x1024", "BM_PlasmaImage", "BM_PlasmaImageFloor", None, 1.10),
    ("woggle picture", "BM_WogglePicture", "BM_WogglePictureFloor", None, 1.10),
] + [
    (f"effects, effect {n} frame", f"BM_Frame<effects::Effect{n}Animation>",
     f"BM_Floor<effects::Effect{n}Animation>", None, 2.0) for n in range(1, 9)
] + [
    ("blossom_trees tree", "BM_BlossomTree", "BM_BlossomTreeFloor", None, 1.5),
    ("windy_trees frame", "BM_WindyFrame", "BM_WindyFrameFloor", None, 1.5),
    ("DrawLine 600 px, hidden page", "BM_DrawLineHiddenPage/600", "BM_LineFloor/600", None, None),
    ("DrawCircle r=200, hidden page", "BM_DrawCircleHiddenPage/200", "BM_CircleFloor/200", None,
     None),
    ("Noise3D", "BM_Noise3D<noise::PerlinNoiseVariant>", None, None, None),
]


def table():
    lines = ["| operation or program | ours (median) | floor (median) | ratio | target | pass |",
             "|---|---|---|---|---|---|"]
    failures = 0
    for label, ours_name, floor_name, limit, ratio_limit in ROWS:
        ours_key = find(ours_name)
        floor_key = find(floor_name) if floor_name else None
        if ours_key is None:
            lines.append(f"| {label} | not run | | | | |")
            continue
        ours = RUNS[ours_key]
        floor = RUNS[floor_key] if floor_key else None
        ratio = ours / floor if floor else None
        targets, ok = [], True
        if limit is not None:
            targets.append(f"<= {fmt(limit)}")
            ok = ok and ours <= limit
        if ratio_limit is not None and ratio is not None:
            targets.append(f"<= {ratio_limit:g}x floor")
            ok = ok and ratio <= ratio_limit
        if not targets:
            verdict = "(no target)"
        else:
            verdict = "pass" if ok else "MISS"
            failures += 0 if ok else 1
        lines.append(f"| {label} | {fmt(ours)} | {fmt(floor)} | "
                     f"{'-' if ratio is None else f'{ratio:.2f}x'} | {', '.join(targets) or '-'} | "
                     f"{verdict} |")
    return lines, failures


def run_program(program, script_text, extra_env=None, preload=False):
    """Runs a program headless through a script; returns (peak resident KiB, allocations)."""
    env = dict(os.environ, LUMIVEX_BACKEND="headless", LUMIVEX_TICKS="1")
    env.update(extra_env or {})
    with tempfile.TemporaryDirectory() as tmp:
        script = pathlib.Path(tmp) / "run.script"
        script.write_text(script_text)
        env["LUMIVEX_SCRIPT"] = str(script)
        count = pathlib.Path(tmp) / "allocations"
        if preload:
            env["LD_PRELOAD"] = str(pathlib.Path(build).resolve() /
                                    "bench/liballocation_counter_preload.so")
            env["LUMIVEX_ALLOCATION_COUNT"] = str(count)
        # The counter is loaded into the program alone; the launcher would count (and write)
        # for itself too.
        command = [f"{build}/bin/{program}"] if preload else [
            f"{build}/bench/peak_memory", f"{build}/bin/{program}"]
        output = subprocess.run(command, env=env, stdin=subprocess.DEVNULL, capture_output=True,
                                text=True, timeout=300).stdout
        if preload:
            return None, int(count.read_text())
        return int(output.split()[-1]), None


def memory():
    floor = int(subprocess.run([f"{build}/bench/peak_memory", f"{build}/bench/runtime_floor"],
                               capture_output=True, text=True).stdout.split()[-1])
    rows = ["| program (headless, palette) | resident memory, peak | beyond the C++ runtime | "
            "target | pass |", "|---|---|---|---|---|"]
    failures = 0
    effects_keys = "".join(f"wait opens {n}\nkey x\n" for n in range(2, 9))
    programs = [
        ("fern, 800x600", "fern", "wait idle\nkey Escape\n", {}),
        ("mandelbrot_explorer, 800x600, first redraw", "mandelbrot_explorer",
         "wait idle\nkey Escape\n", {}),
        ("perlin_noise, 640x480, 20 frames", "perlin_noise", "wait shows 20\nkey Escape\n", {}),
        ("effects, eight windows", "effects", "wait shows 3\nkey x\n" + effects_keys, {}),
        ("plasma_family, 1280x1024, two images", "plasma_family", "wait shows 2\nkey x\n", {}),
    ]
    for label, program, script, env in programs:
        peak, _ = run_program(program, script, env)
        beyond = peak - floor
        ok = beyond < 16 * 1024
        failures += 0 if ok else 1
        rows.append(f"| {label} | {peak / 1024:.1f} MB | {beyond / 1024:.1f} MB | < 16 MB | "
                    f"{'pass' if ok else 'MISS'} |")
    rows.append(f"\nThe C++ runtime alone (a minimal program with threads and iostreams): "
                f"{floor / 1024:.1f} MB.")

    # Allocations per frame: the same program run for fewer and for more frames, with the same
    # input; every allocation of every thread is counted.
    rows += ["", "| program | frames compared | allocations, short run | long run | per frame | "
             "pass |", "|---|---|---|---|---|---|"]
    small = {"LUMIVEX_SCREEN": "320x240"}
    frame_runs = [
        ("perlin_noise", 10, 30, "wait shows {n}\nkey Escape\n", {}),
        ("perlin_textures", 4, 12, "wait shows {n}\nkey x\n", {}),
        ("plasma_family", 3, 9, "wait shows {n}\nkey x\n", small),
        ("windy_trees", 5, 15, "wait shows {n}\nkey Escape\n", {}),
        ("effects", 5, 15, "wait shows {n}\nkey x\n" + effects_keys, {}),
    ]
    for program, short, long, script, env in frame_runs:
        _, a = run_program(program, script.format(n=short), env, preload=True)
        _, b = run_program(program, script.format(n=long), env, preload=True)
        per_frame = (b - a) / (long - short)
        ok = b == a
        failures += 0 if ok else 1
        rows.append(f"| {program} | {short} and {long} | {a} | {b} | {per_frame:g} | "
                    f"{'pass' if ok else 'MISS'} |")
    return rows, failures


def machine():
    cpu = "unknown CPU"
    try:
        for line in open("/proc/cpuinfo"):
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    except OSError:
        pass
    load = os.getloadavg()
    return (f"{cpu}, {os.cpu_count()} cores, {platform.system()} {platform.release()}; "
            f"load average {load[0]:.2f} at the end of the run")


timing, timing_failures = table()
memory_rows, memory_failures = memory()
text = "\n".join([
    "# Benchmark results",
    "",
    f"Machine: {machine()}.",
    "",
    "Medians of wall time over the repetitions, each operation beside its floor (the same work "
    "as a plain loop into an array of the same pixel format, or the same arithmetic without the "
    "library), measured in the same run with the repetitions interleaved. Made by "
    "scripts/bench.sh.",
    "",
] + timing + ["", "## Memory", ""] + memory_rows + [""])
pathlib.Path(target_file).write_text(text)
print(text)
print(f"{timing_failures + memory_failures} target(s) missed", file=sys.stderr)
