#!/usr/bin/python3
"""Two builds of run_batch side by side: same results, and how fast.

    compare_batch_builds.py make-workbook SAMPLE OUT
        The sample workbook with its Sim_batch rows repeated up to 2729 simulations.

    compare_batch_builds.py results OLD_RUN_BATCH NEW_RUN_BATCH WORKBOOK...
        Runs both programs on every workbook for the three soil solutions and both capacity
        methods and compares every cell of every sheet of the saved files. Exits 1 on the first
        difference, naming the sheet, the cell and both values.

    compare_batch_builds.py time OLD_RUN_BATCH NEW_RUN_BATCH WORKBOOK [--rounds N] [--threads 1,8]
        Times both programs (load, batch, save: the time run_batch prints) alternating old and
        new N times for each thread count, and prints the medians, the spread (min..max) and the
        ratio of the medians. The machine may be shared: compare medians, not single runs.
"""

import os
import re
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import zipfile

MAX_SIMULACIONES = 2729
SOLUTIONS = ["field-capacity", "saturation", "drainage"]
CAPACITIES = ["pedotransfer", "empirical"]


def make_workbook(sample, out):
    import openpyxl

    libro = openpyxl.load_workbook(sample)
    hoja = libro["Sim_batch"]
    base = 0
    while hoja.cell(base + 2, 1).value not in (None, ""):
        base += 1
    for i in range(base + 1, MAX_SIMULACIONES + 1):
        for c in range(1, 7):
            hoja.cell(i + 1, c).value = hoja.cell((i - 1) % base + 2, c).value
    libro.save(out)


def run(program, workbook, out, threads, solution="saturation", capacity="pedotransfer"):
    salida = subprocess.run(
        [program, workbook, out, "--threads", str(threads), "--solution", solution,
         "--capacity", capacity],
        check=True, capture_output=True, text=True).stdout
    return float(re.search(r"seconds: ([0-9.]+)", salida).group(1))


CELL = re.compile(rb'<c r="([A-Z]+[0-9]+)"[^>]*?(?:/>|>(.*?)</c>)', re.S)


def cells(path):
    """Every cell of every worksheet as its raw XML (type, value text): exact, no parsing."""
    with zipfile.ZipFile(path) as z:
        hojas = {}
        for nombre in z.namelist():
            if nombre.startswith("xl/worksheets/sheet") and nombre.endswith(".xml"):
                xml = z.read(nombre)
                hojas[nombre] = {m.group(1): m.group(0) for m in CELL.finditer(xml)}
        shared = z.read("xl/sharedStrings.xml") if "xl/sharedStrings.xml" in z.namelist() else b""
    return hojas, shared


def numbers_equal(a, b):
    """The two cells hold the same number to the bit, or are the same text."""
    va = re.search(rb"<v>(.*?)</v>", a)
    vb = re.search(rb"<v>(.*?)</v>", b)
    if va and vb:
        try:
            return struct.pack("<d", float(va.group(1))) == struct.pack("<d", float(vb.group(1)))
        except ValueError:
            pass
    return a == b


def compare(old, new):
    hojas_a, shared_a = cells(old)
    hojas_b, shared_b = cells(new)
    if shared_a != shared_b:
        return "the shared strings differ"
    if hojas_a.keys() != hojas_b.keys():
        return "the sheets differ"
    n = 0
    for hoja, a in hojas_a.items():
        b = hojas_b[hoja]
        if a.keys() != b.keys():
            return f"{hoja}: different cells are filled: {sorted(a.keys() ^ b.keys())[:5]}"
        for ref, xa in a.items():
            n += 1
            if xa != b[ref] and not numbers_equal(xa, b[ref]):
                return f"{hoja} {ref.decode()}: {xa!r} against {b[ref]!r}"
    print(f"  {n} cells identical")
    return None


def results(old, new, workbooks):
    with tempfile.TemporaryDirectory() as carpeta:
        for libro in workbooks:
            for solution in SOLUTIONS:
                for capacity in CAPACITIES:
                    a = os.path.join(carpeta, "old.xlsx")
                    b = os.path.join(carpeta, "new.xlsx")
                    run(old, libro, a, 8, solution, capacity)
                    run(new, libro, b, 8, solution, capacity)
                    print(f"{os.path.basename(libro)} {solution} {capacity}:")
                    diferencia = compare(a, b)
                    if diferencia:
                        print("  DIFFERENT: " + diferencia)
                        return 1
    print("every result cell identical")
    return 0


def time(old, new, workbook, rounds, threads):
    with tempfile.TemporaryDirectory() as carpeta:
        out = os.path.join(carpeta, "out.xlsx")
        for n in threads:
            tiempos = {"old": [], "new": []}
            for _ in range(rounds):
                for nombre, programa in (("old", old), ("new", new)):
                    tiempos[nombre].append(run(programa, workbook, out, n))
            mo = statistics.median(tiempos["old"])
            mn = statistics.median(tiempos["new"])
            for nombre in ("old", "new"):
                t = tiempos[nombre]
                print(f"threads {n} {nombre}: median {statistics.median(t):.3f} s, "
                      f"min {min(t):.3f}, max {max(t):.3f} over {len(t)} runs")
            print(f"threads {n}: old/new medians {mo / mn:.2f}x")
            sys.stdout.flush()


def main(args):
    if len(args) == 3 and args[0] == "make-workbook":
        make_workbook(args[1], args[2])
        return 0
    if len(args) >= 4 and args[0] == "results":
        return results(args[1], args[2], args[3:])
    if len(args) >= 4 and args[0] == "time":
        rounds, threads = 5, [1, 8]
        rest = args[4:]
        while rest:
            if rest[0] == "--rounds":
                rounds = int(rest[1])
            elif rest[0] == "--threads":
                threads = [int(t) for t in rest[1].split(",")]
            else:
                break
            rest = rest[2:]
        time(args[1], args[2], args[3], rounds, threads)
        return 0
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
