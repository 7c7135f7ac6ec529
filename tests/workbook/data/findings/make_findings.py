#!/usr/bin/python3
"""Writes the small damaged workbooks beside this script.

Each copies one defect that a mutation fuzzer found in copies of the sample workbook, in a
package cut down to what shows it: the ten sheets a batch needs, all empty but Sim_batch (two
simulations) and SSol_batch (its headings). Run it again only to remake the files.
"""
import os
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
SHEETS = ['Sim_batch', 'Soil_batch', 'Clim_batch', 'Crop_batch', 'Irrigat_batch', 'Wat_batch',
          'SSol_batch', 'WBal_batch', 'Constants', 'Parameters']
MAIN = 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'
REL = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'
PKG = 'http://schemas.openxmlformats.org/package/2006/relationships'
CT = 'application/vnd.openxmlformats-officedocument.spreadsheetml.'


def text(ref, value):
    return f'<c r="{ref}" t="inlineStr"><is><t>{value}</t></is></c>'


def sheet(rows):
    return f'<worksheet xmlns="{MAIN}"><sheetData>{rows}</sheetData></worksheet>'


SIM_ROWS = ('<row r="1">' + text('A1', 'Simulation id') + text('B1', 'Climate id') + '</row>'
            '<row r="2">' + text('A2', 'S01') + text('B2', 'Zaragoza') + '</row>'
            '<row r="3">' + text('A3', 'S02') + text('B3', 'Zaragoza') + '</row>')
SSOL_ROWS = '<row r="1">' + text('A1', 'Simulation id') + text('B1', 'FC factor') + '</row>'


def package(sim_rows=SIM_ROWS, ssol_rows=SSOL_ROWS, leave_out=None):
    parts = {
        '[Content_Types].xml':
            '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
            '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.'
            'relationships+xml"/><Default Extension="xml" ContentType="application/xml"/>'
            f'<Override PartName="/xl/workbook.xml" ContentType="{CT}sheet.main+xml"/>' +
            ''.join(f'<Override PartName="/xl/worksheets/sheet{i}.xml" '
                    f'ContentType="{CT}worksheet+xml"/>' for i in range(1, len(SHEETS) + 1)) +
            '</Types>',
        '_rels/.rels':
            f'<Relationships xmlns="{PKG}"><Relationship Id="rId1" Type="{REL}/officeDocument" '
            'Target="xl/workbook.xml"/></Relationships>',
        'xl/workbook.xml':
            f'<workbook xmlns="{MAIN}" xmlns:r="{REL}"><sheets>' +
            ''.join(f'<sheet name="{n}" sheetId="{i}" r:id="rId{i}"/>'
                    for i, n in enumerate(SHEETS, 1)) + '</sheets></workbook>',
        'xl/_rels/workbook.xml.rels':
            f'<Relationships xmlns="{PKG}">' +
            ''.join(f'<Relationship Id="rId{i}" Type="{REL}/worksheet" '
                    f'Target="worksheets/sheet{i}.xml"/>' for i in range(1, len(SHEETS) + 1)) +
            '</Relationships>',
    }
    for i, name in enumerate(SHEETS, 1):
        rows = {'Sim_batch': sim_rows, 'SSol_batch': ssol_rows}.get(name, '')
        parts[f'xl/worksheets/sheet{i}.xml'] = sheet(rows)
    if leave_out:
        del parts[leave_out]
    return parts


def write(name, parts):
    path = os.path.join(HERE, name)
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
        for part, content in parts.items():
            z.writestr(part, content.encode('utf-8'))
    return path


def flip_bit_in_sim_batch(path):
    """One flipped bit inside the compressed Sim_batch part: inflating or its checksum fails."""
    info = zipfile.ZipFile(path).getinfo('xl/worksheets/sheet1.xml')
    data = bytearray(open(path, 'rb').read())
    start = info.header_offset + 30 + len(info.filename) + len(info.extra)
    data[start + info.compress_size // 2] ^= 0x10
    open(path, 'wb').write(bytes(data))
    try:
        zipfile.ZipFile(path).read('xl/worksheets/sheet1.xml')
    except Exception:
        return
    raise SystemExit('the flipped bit went unnoticed')


write('damaged-sim-batch-ref.xlsx',
      package(sim_rows=SIM_ROWS.replace(text('B3', 'Zaragoza'), text('A0', 'Zaragoza'))))
flip_bit_in_sim_batch(write('damaged-sim-batch-crc.xlsx', package()))
write('missing-sim-batch-part.xlsx', package(leave_out='xl/worksheets/sheet1.xml'))
write('rowmismatch.xlsx',
      package(ssol_rows=SSOL_ROWS + '<row r="2">' + text('A9', 'user note in A9') + '</row>'))
write('dupattr.xlsx',
      package(ssol_rows=SSOL_ROWS +
              '<row r="2"><c r="A2" r="Z2" t="inlineStr"><is><t>user note</t></is></c></row>'))
write('dupcell.xlsx',
      package(ssol_rows=SSOL_ROWS.replace('</row>', '<c r="W1"><v>7</v></c></row>') +
              '<row r="1"><c r="W1" s="0"/></row>'))
