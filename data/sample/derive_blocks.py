#!/usr/bin/env python3
"""Makes the sample's batch input blocks from its libraries.

Reads Clim_WS, Clim_data, Annual_crops_growth, Annual_crops_irrigat and Tree_crops from this
folder and writes Clim_batch, Crop_batch and Irrigat_batch: one climate block per station, one
crop block per crop used by the sample's simulations, and their irrigation rows. The rules are
written out in README.md of this folder. Usage: derive_blocks.py [output folder]
"""

import math
import os
import sys

from sample_csv import read_table, write_table

HERE = os.path.dirname(os.path.abspath(__file__))
MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
DAYS = [31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
PI = 3.141592654
TWO_PI = 6.283185308

# Clim_WS station name -> climate id of its Clim_batch block.
CLIMATE_IDS = [
    ("Almería Aeropuerto", "Almeria"),
    ("Murcia-Alcantarilla BA", "Murcia"),
    ("Zaragoza Aeropuerto", "Zaragoza"),
    ("Valencia", "Valencia"),
    ("Maricopa", "Maricopa"),
    ("Cabinda", "Cabinda"),
]

# Tree_crops name -> crop id of its Crop_batch block.
TREE_CROPS = [
    ("Citrus (70% canopy)", "Citrus"),
    ("Olive (40-60% cover)", "Olive"),
    ("Almond", "Almond"),
    ("Peach and stone fruit", "Peach"),
    ("Table grape", "Table grape"),
    ("Date palm", "Date palm"),
]

# Annual crops, each alone in its year: Annual_crops_growth name, crop id (also the id of its
# irrigation row), sowing day and month.
ANNUAL_CROPS = [
    ("Maize (grain)", "Maize", 15, 4),
    ("Winter wheat", "Winter wheat", 15, 11),
    ("Cotton", "Cotton", 15, 4),
    ("Tomato", "Tomato", 1, 5),
]

# Irrigation rows of tree crops, typed by hand in a real workbook (the crop tool writes none for
# them): irrigation id, tree crop id, climate id. Estimated, see TREE_IRRIGATION.
TREE_IRRIGATION_ROWS = [
    ("Citrus Murcia", "Citrus", "Murcia"),
    ("Citrus Valencia", "Citrus", "Valencia"),
    ("Citrus Cabinda", "Citrus", "Cabinda"),
    ("Almond Murcia", "Almond", "Murcia"),
    ("Peach Zaragoza", "Peach", "Zaragoza"),
    ("Table grape Almeria", "Table grape", "Almeria"),
    ("Olive Valencia", "Olive", "Valencia"),
    ("Date palm Maricopa", "Date palm", "Maricopa"),
]

# Tree-crop irrigation (all estimates): crop coefficient = Kcb + soil evaporation allowance,
# effective rain share, application efficiency, largest dose (mm), wetted fraction.
TREE_IRRIGATION = {
    "default": dict(ke=0.05, rain_share=0.75, efficiency=0.90, dose_mm=10.0, wetted=0.35),
    "Date palm": dict(ke=0.05, rain_share=0.75, efficiency=0.80, dose_mm=60.0, wetted=0.50),
}

UPTAKE_PATTERN = [40, 30, 20, 10]


def round_half_even(x, decimals=0):
    return round(x, decimals)


def day_of_year(day, month):
    return sum(DAYS[:month - 1]) + day


# ---- reference evapotranspiration (the program's Hargreaves with its solar geometry) ----

def arccos_newton(c):
    if c > 1 or c < -1:
        return 0.0
    x = 1.570796327
    while True:
        q = c - math.cos(x)
        x1 = x - q / math.sin(x)
        while abs(c - math.cos(x1)) >= abs(q):
            x1 = (x1 + x) / 2
        r = abs((x1 - x) / x1) if x1 != 0 else 0.0
        x = x1
        if abs(c - math.cos(x1)) <= 1e-5 or r <= 1e-5:
            return x1


def extraterrestrial_radiation(latitude, month):
    j = day_of_year(14 if month == 2 else 15, month)
    d = 0.409 * math.sin(TWO_PI * j / 365 - 1.39)
    dr = 1 + 0.033 * math.cos(TWO_PI * j / 365)
    p = latitude * PI / 180
    ws = arccos_newton(-math.tan(p) * math.tan(d))
    return 118.08 / PI * dr * (ws * math.sin(p) * math.sin(d) +
                               math.cos(p) * math.cos(d) * math.sin(ws))


def hargreaves_mm(latitude, tmean, tmax, tmin, month):
    ra = extraterrestrial_radiation(latitude, month)
    return DAYS[month - 1] * 0.0009384 * (tmean + 17.8) * math.sqrt(tmax - tmin) * ra


def num(v):
    return 0.0 if v is None else float(v)


def climate_blocks(clim_ws, clim_data):
    blocks = {}
    for k, row in enumerate(clim_ws[1:]):
        name, latitude = row[0], num(row[1])
        months = clim_data[12 * k + 1:12 * k + 13]
        given = [num(r[12]) for r in months]
        if sum(given) != 0:
            eto, method = given, "given in Clim_data"
        else:
            eto = [hargreaves_mm(latitude, num(r[1]), num(r[2]), num(r[3]), m + 1)
                   for m, r in enumerate(months)]
            method = "Hargreaves"
        rain = [num(r[9]) for r in months]
        rain_days = [num(r[10]) for r in months]
        blocks[name] = (rain, rain_days, [round(e, 1) for e in eto], method)
    return blocks


# ---- annual crop alone in its year: stage days, period shares of each month ----

def stage_days(season, shares):
    days = [int(round_half_even(season * s)) for s in shares]
    diff = sum(days) - season
    if diff > 0:
        days[0] -= 1
    elif diff < 0:
        days[3] += 1
    return days


def month_period_shares(sow_day, sow_month, season, shares):
    """shares[m][p]: fraction of month m's days in period p (0 fallow, 1..4 stages)."""
    days = stage_days(season, shares)
    limit = [day_of_year(sow_day, sow_month) - 1]
    for k in range(4):
        b = limit[-1] + days[k]
        limit.append(b - 365 if b > 365 else b)
    # The boundary that starts the calendar year, searched backwards as the rotation does.
    ref = 0
    for j in range(4, -1, -1):
        if limit[j] > limit[ref]:
            break
        ref = j
    result = [[0.0] * 5 for _ in range(12)]
    j, previous, passed, month = ref, 0, 1, 1
    while month <= 12:
        b, e = limit[j], sum(DAYS[:month])
        if e < b or passed > 5:
            result[month - 1][j] = (e - previous) / DAYS[month - 1]
            previous, month = e, month + 1
        else:
            result[month - 1][j] = (b - previous) / DAYS[month - 1]
            if b == e:
                month += 1
            previous, j, passed = b, (j + 1) % 5, passed + 1
    return result, days


def annual_crop_block(growth_row, sow_day, sow_month):
    root_max, cover_max = num(growth_row[1]), num(growth_row[10])
    kcb_stage = [0.0] + [num(v) for v in growth_row[2:6]]
    shares = [num(v) for v in growth_row[6:10]]
    season = int(round_half_even(num(growth_row[11])))
    frac, days = month_period_shares(sow_day, sow_month, season, shares)
    kcb = [sum(kcb_stage[p] * frac[m][p] for p in range(5)) for m in range(12)]
    in_season = [sum(frac[m][1:]) for m in range(12)]
    root = [in_season[m] * root_max * kcb[m] / kcb_stage[3] for m in range(12)]
    cover = [in_season[m] * cover_max * kcb[m] / kcb_stage[3] for m in range(12)]
    return kcb, root, cover, frac, days


def annual_irrigation_row(irr_row, frac, days):
    wetted, total_mm, total_n = num(irr_row[1]), num(irr_row[2]), num(irr_row[11])
    depth_share = [num(v) for v in irr_row[3:7]]
    number_share = [num(v) for v in irr_row[7:11]]
    depth, number = [0.0] * 12, [0.0] * 12
    for m in range(12):
        for k in range(4):
            stage_days_in_month = frac[m][k + 1] * DAYS[m]
            depth[m] += total_mm * depth_share[k] * stage_days_in_month / days[k]
            number[m] += total_n * number_share[k] * stage_days_in_month / days[k]
    return depth, [round_half_even(n) for n in number], wetted


def tree_crop_block(tree_row):
    root_max, cover_max = num(tree_row[1]), num(tree_row[14])
    kcb = [num(v) for v in tree_row[2:14]]
    peak = max(kcb)
    return kcb, [root_max * k / peak for k in kcb], [cover_max * k / peak for k in kcb]


def tree_irrigation_row(crop_id, kcb, climate):
    rain, _, eto, _ = climate
    p = TREE_IRRIGATION.get(crop_id, TREE_IRRIGATION["default"])
    depth, number = [], []
    for m in range(12):
        net = max(0.0, (kcb[m] + p["ke"]) * eto[m] - p["rain_share"] * rain[m])
        gross = round(net / p["efficiency"], 1)
        depth.append(gross)
        number.append(float(math.ceil(gross / p["dose_mm"])) if gross > 0 else 0.0)
    return depth, number, p["wetted"]


def by_name(table, name):
    for row in table[1:]:
        if row[0] == name:
            return row
    raise KeyError(name)


def main(out_dir):
    clim_ws = read_table(os.path.join(HERE, "09_Clim_WS.csv"))
    clim_data = read_table(os.path.join(HERE, "10_Clim_data.csv"))
    growth = read_table(os.path.join(HERE, "11_Annual_crops_growth.csv"))
    irrigat = read_table(os.path.join(HERE, "12_Annual_crops_irrigat.csv"))
    trees = read_table(os.path.join(HERE, "13_Tree_crops.csv"))

    climates = climate_blocks(clim_ws, clim_data)
    clim_rows = [["Climate id", "Rainfall (mm)", "Rainy days", "ETo (mm)", "Month",
                  "ETo method (not read)"]]
    climate_by_id = {}
    for station, cid in CLIMATE_IDS:
        rain, rain_days, eto, method = climates[station]
        climate_by_id[cid] = climates[station]
        for m in range(12):
            clim_rows.append([cid, rain[m], rain_days[m], eto[m], MONTHS[m],
                              method if m == 0 else None])

    crop_rows = [["Crop id", "Kcb", "Root depth (cm)", "Ground cover (fraction)", "Month"]]
    irr_rows = [["Irrigation id"] + ["Depth %s (mm)" % m for m in MONTHS] +
                ["Irrigations %s" % m for m in MONTHS] +
                ["Wetted fraction", "Uptake 1st quarter (%)", "Uptake 2nd quarter (%)",
                 "Uptake 3rd quarter (%)", "Uptake 4th quarter (%)"]]

    def add_crop_block(crop_id, kcb, root, cover, kcb_decimals):
        for m in range(12):
            crop_rows.append([crop_id, round(kcb[m], kcb_decimals), round(root[m], 1),
                              round(cover[m], 3), MONTHS[m]])

    def add_irrigation_row(irr_id, depth, number, wetted):
        irr_rows.append([irr_id] + [round(d, 1) for d in depth] + number + [wetted] +
                        UPTAKE_PATTERN)

    tree_kcb = {}
    for name, crop_id in TREE_CROPS:
        kcb, root, cover = tree_crop_block(by_name(trees, name))
        # The model multiplies Kcb by the year's largest ground cover: that product, rounded as
        # the published monthly series was, is the orchard's basal coefficient, which the
        # irrigation estimate uses.
        tree_kcb[crop_id] = [round(k * max(cover), 2) for k in kcb]
        add_crop_block(crop_id, kcb, root, cover, 3)
    for name, crop_id, sow_day, sow_month in ANNUAL_CROPS:
        kcb, root, cover, frac, days = annual_crop_block(by_name(growth, name), sow_day, sow_month)
        add_crop_block(crop_id, kcb, root, cover, 4)
        add_irrigation_row(crop_id, *annual_irrigation_row(by_name(irrigat, name), frac, days))
    for irr_id, crop_id, cid in TREE_IRRIGATION_ROWS:
        add_irrigation_row(irr_id, *tree_irrigation_row(crop_id, tree_kcb[crop_id],
                                                        climate_by_id[cid]))

    write_table(os.path.join(out_dir, "03_Clim_batch.csv"), clim_rows)
    write_table(os.path.join(out_dir, "04_Crop_batch.csv"), crop_rows)
    write_table(os.path.join(out_dir, "05_Irrigat_batch.csv"), irr_rows)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else HERE)
