"""Checks the sample workbook with an independent reader (openpyxl).

Usage: check_sample_workbook.py WORKBOOK.xlsx
Finds every input of every Sim_batch simulation by the batch's look-up rules, checks the ionic
balance of every irrigation water and that every Constants and Parameters cell the chemistry
reads holds a number. Prints one line per failure and exits with 1 when there is any.
"""

import sys

import openpyxl

SHEETS = ["Sim_batch", "Soil_batch", "Clim_batch", "Crop_batch", "Irrigat_batch", "Wat_batch",
          "SSol_batch", "WBal_batch", "Clim_WS", "Clim_data", "Annual_crops_growth",
          "Annual_crops_irrigat", "Tree_crops", "Constants", "Parameters"]

# The one input that the sample leaves out on purpose: a batch reports it as missing.
EXPECTED_MISSING = {("S14", "climate")}

failures = []


def fail(message):
    failures.append(message)


def is_number(v):
    return isinstance(v, (int, float)) and not isinstance(v, bool)


def matches(cell, wanted):
    """The batch's id rule: text to text exactly, number to number by value, never across;
    an empty cell equals the empty text and 0."""
    if cell is None or wanted is None:
        other = wanted if cell is None else cell
        return other is None or other == "" or (is_number(other) and other == 0)
    if isinstance(cell, str) != isinstance(wanted, str):
        return False
    return cell == wanted


def value(ws, row, column):
    return ws.cell(row=row, column=column).value


def row_search(ws, wanted):
    """Rows from 1; the first empty column 1 ends the search."""
    if wanted is None or wanted == "":
        return None
    r = 1
    while value(ws, r, 1) is not None:
        if matches(value(ws, r, 1), wanted):
            return r
        r += 1
    return None


def block_search(ws, wanted):
    """Only the block-start rows 2, 14, 26, ...; the first empty one ends the search."""
    if wanted is None or wanted == "":
        return None
    r = 2
    while value(ws, r, 1) is not None:
        if matches(value(ws, r, 1), wanted):
            return r
        r += 12
    return None


def check_numbers(ws, cells, what):
    for row, column in cells:
        v = value(ws, row, column)
        if not is_number(v):
            fail("%s!%s%d (%s) holds %r, not a number" % (ws.title, chr(64 + column), row, what, v))


def check_block(ws, r0, wanted, columns):
    for m in range(12):
        if not matches(value(ws, r0 + m, 1), wanted):
            fail("%s block %r: row %d has another id" % (ws.title, wanted, r0 + m))
        check_numbers(ws, [(r0 + m, c) for c in columns], "block of %r" % (wanted,))


def check_soil(ws, r0, wanted):
    n = 1
    while value(ws, r0 + n, 1) is not None and matches(value(ws, r0 + n, 1), wanted):
        n += 1
    check_numbers(ws, [(r0, 15)], "log10 pCO2 of %r" % (wanted,))
    depth = 0
    for r in range(r0, r0 + n):
        check_numbers(ws, [(r, c) for c in (3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14)],
                      "horizon of %r" % (wanted,))
        if is_number(value(ws, r, 3)) and value(ws, r, 3) <= depth:
            fail("Soil_batch row %d: horizon depths of %r do not increase" % (r, wanted))
        depth = value(ws, r, 3)


def check_simulations(wb):
    sim = wb["Sim_batch"]
    if not isinstance(value(sim, 1, 1), str):
        fail("Sim_batch row 1 has no heading")
    inputs = [("climate", 2, "Clim_batch", block_search), ("soil", 3, "Soil_batch", row_search),
              ("water", 4, "Wat_batch", row_search), ("irrigation", 5, "Irrigat_batch", row_search),
              ("crop", 6, "Crop_batch", block_search)]
    missing, used, number_ids = set(), {name: set() for _, _, name, _ in inputs}, 0
    r = 2
    while value(sim, r, 1) is not None:
        sim_id = value(sim, r, 1)
        for what, column, sheet, search in inputs:
            wanted = value(sim, r, column)
            found = search(wb[sheet], wanted)
            if found is None:
                missing.add((sim_id, what))
                continue
            used[sheet].add(found)
            number_ids += is_number(wanted)
            if sheet == "Soil_batch":
                check_soil(wb[sheet], found, wanted)
            elif sheet in ("Clim_batch", "Crop_batch"):
                check_block(wb[sheet], found, wanted, (2, 3, 4))
            elif sheet == "Irrigat_batch":
                check_numbers(wb[sheet], [(found, c) for c in range(2, 31)], "irrigation")
            else:
                check_numbers(wb[sheet], [(found, c) for c in range(2, 10)], "water")
        r += 1
    if r - 2 < 12:
        fail("Sim_batch lists %d simulations, fewer than 12" % (r - 2))
    if missing != EXPECTED_MISSING:
        fail("inputs not found: %s; expected only %s" % (sorted(map(str, missing)),
                                                         sorted(map(str, EXPECTED_MISSING))))
    if number_ids == 0:
        fail("no simulation finds an input by a number id")
    return used


def check_everything_used(wb, used):
    """Every soil, water and climate block of the sample is used by a simulation."""
    for sheet, step, start in (("Soil_batch", 1, 1), ("Wat_batch", 1, 1), ("Clim_batch", 12, 2)):
        ws = wb[sheet]
        r = start
        while value(ws, r, 1) is not None:
            first_of_soil = r == 1 or not matches(value(ws, r, 1), value(ws, r - 1, 1))
            if (sheet != "Soil_batch" or first_of_soil) and r not in used[sheet]:
                fail("%s row %d (%r) is used by no simulation" % (sheet, r, value(ws, r, 1)))
            r += step


def check_waters(wb):
    ws = wb["Wat_batch"]
    r = 1
    while value(ws, r, 1) is not None:
        v = [value(ws, r, c) for c in range(2, 10)]
        if not all(is_number(x) for x in v):
            fail("Wat_batch row %d holds a non-number" % r)
        else:
            na, k, ca, mg, cl, no3, so4, alk = v
            cations = na + k + 2 * ca + 2 * mg
            anions = cl + no3 + 2 * so4 + alk
            error = 100 * (cations - anions) / (cations + anions)
            if abs(error) > 5:
                fail("Wat_batch row %d: ionic balance error %.2f %%" % (r, error))
        r += 1
    if r - 1 != 6:
        fail("Wat_batch holds %d waters, not 6" % (r - 1))


def check_chemistry_cells(wb):
    constants = [(5, c) for c in range(2, 8)] + [(r, c) for r in range(13, 19) for c in range(3, 7)]
    check_numbers(wb["Constants"], constants, "log10 K")
    parameters = [(r, c) for r in (4, 6) for c in range(2, 13)]
    parameters += [(r, c) for r in (10, 11, 14, 15) for c in range(2, 14)]
    parameters += [(19, 5), (20, 5)]
    check_numbers(wb["Parameters"], parameters, "charge or coefficient")
    for row, column in parameters:
        v = value(wb["Parameters"], row, column)
        if row in (4, 10, 14) and is_number(v) and v < 0:
            fail("Parameters row %d holds a signed charge; the sample stores magnitudes" % row)


def check_libraries(wb):
    stations = 0
    while value(wb["Clim_WS"], stations + 2, 1) is not None:
        stations += 1
    if stations != 6:
        fail("Clim_WS lists %d stations, not 6" % stations)
    for k in range(stations):
        check_numbers(wb["Clim_data"], [(12 * k + m + 2, c) for m in range(12) for c in (2, 3, 4)],
                      "temperature of station %d" % k)
    for sheet, count in (("Annual_crops_growth", 10), ("Tree_crops", 6), ("Annual_crops_irrigat", 10)):
        n = 0
        while value(wb[sheet], n + 2, 1) is not None:
            n += 1
        if n != count:
            fail("%s lists %d crops, not %d" % (sheet, n, count))
    for sheet in ("SSol_batch", "WBal_batch"):
        if wb[sheet].max_row != 1 or not isinstance(value(wb[sheet], 1, 1), str):
            fail("%s should hold its heading row only" % sheet)


def main(path):
    wb = openpyxl.load_workbook(path)
    if wb.sheetnames != SHEETS:
        fail("sheets %s, expected %s" % (wb.sheetnames, SHEETS))
        return
    used = check_simulations(wb)
    check_everything_used(wb, used)
    check_waters(wb)
    check_chemistry_cells(wb)
    check_libraries(wb)


if __name__ == "__main__":
    main(sys.argv[1])
    for message in failures[:20]:
        print("FAIL: " + message)
    if len(failures) > 20:
        print("... and %d more failures" % (len(failures) - 20))
    if not failures:
        print("OK")
    sys.exit(1 if failures else 0)
