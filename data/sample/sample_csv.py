"""Reading and writing the sample's CSV tables with the typing rule of the sample workbook.

RFC 4180 text in UTF-8. A field in double quotes is always a text; an unquoted field that is a
number is a number; an empty unquoted field is an empty cell (None); any other unquoted field is
a text. Writing quotes every text, so a text "7" and a number 7 stay apart.
"""

import math
import re


# A number as the workbook reads one from a text: C locale, blanks around it allowed.
_NUMBER = re.compile(r"[ \t\r\n]*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?[ \t\r\n]*")


def _unquoted_value(field):
    if field == "":
        return None
    if not _NUMBER.fullmatch(field):
        return field
    value = float(field)
    return value if math.isfinite(value) else field


def parse_table(text):
    """The rows of a CSV text as lists of None, float or str."""
    if text.startswith("\ufeff"):
        text = text[1:]
    rows, row = [], []
    field, quoted, in_quotes = "", False, False
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if in_quotes:
            if c == '"' and text[i + 1:i + 2] == '"':
                field += '"'
                i += 1
            elif c == '"':
                in_quotes = False
            else:
                field += c
        elif c == '"' and field == "" and not quoted:
            quoted = in_quotes = True
        elif c == "," or c in "\r\n":
            row.append(field if quoted else _unquoted_value(field))
            field, quoted = "", False
            if c != ",":
                if c == "\r" and text[i + 1:i + 2] == "\n":
                    i += 1
                rows.append(row)
                row = []
        else:
            if quoted:
                raise ValueError("text after a closing quote on line %d" % (len(rows) + 1))
            field += c
        i += 1
    if in_quotes:
        raise ValueError("a quoted field is not closed")
    if row or field or quoted:
        row.append(field if quoted else _unquoted_value(field))
        rows.append(row)
    return rows


def read_table(path):
    with open(path, encoding="utf-8", newline="") as f:
        return parse_table(f.read())


def format_field(value):
    if value is None:
        return ""
    if isinstance(value, str):
        return '"' + value.replace('"', '""') + '"'
    if isinstance(value, bool):
        raise TypeError("no booleans in the sample")
    if float(value) == int(value) and abs(value) < 1e15:
        return str(int(value))
    return repr(float(value))


def write_table(path, rows):
    """Writes rows (lists of None, numbers or texts); trailing empty cells are dropped."""
    lines = []
    for row in rows:
        row = list(row)
        while row and row[-1] is None:
            row.pop()
        lines.append(",".join(format_field(v) for v in row))
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write("\n".join(lines) + "\n")
