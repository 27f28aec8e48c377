#!/usr/bin/python3
"""Writes tests/fixtures/ZEV-0042.xls, a genuine Excel 97 (BIFF8) maker's workbook.

Made with xlwt (Debian package python3-xlwt) so that the reader is tested on a
file written by a real spreadsheet writer. The test writes the same rows into
an SQLite workbook and both must read alike.

    /usr/bin/python3 tools/make_xls_fixture.py
"""
import os
import xlwt

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "tests", "fixtures", "ZEV-0042.xls")

ISOTROPIC = ";".join(["80"] * 37) + ";"
DOWNLIGHT = ";".join(str(v) for v in [300, 290, 270, 240, 200, 150, 100, 60, 30, 10] + [0] * 27) + ";"

SHEETS = [
    ("Luminaires",
     ["Věta", "Skupina", "Podskupina", "Oddíl", "Typ", "Název", "Krytí", "Divez", "Výkon", "Zdroj",
      "Zdrojů", "PodskupinaZdroje", "Účinnost", "RozmCelkové", "RozmSvítící", "Symetrie", "Table",
      "J0_45_85", "Prepocet"],
     [
         [1, 20, 34, 1, "KZ-100", "Koule", "IP20", 4201, 60, "A60", 1, 6, 100, "300;300;300",
          "250;250;250", 1, "Tab1_300_50", None, 1.0],
         [2, 20, 34, 1, "0815", "Žluťoučký downlight", 54, 4202, 36, "T8", 2, 5, 65, "1200;300;80",
          "1180;280;0", 1, "Tab1_300_50", "1;2;3;4;5", None],
         [3, 20, 35, 2, "ČÍSLO-3", "Reflektor", "IP65", 4203, 150, "HIT", 1, 7, 70, "400;400;200",
          "300;300;0", 1, "Tab1_300_50", None, 0.5],
     ]),
    ("Lamps",
     ["Věta", "Skupina", "Podskupina", "Typ", "Název", "Výkon", "Život", "SvTok", "Tau", "Gama", "Čirý",
      "Ppr", "PodBarev"],
     [
         [1, 20, 5, "T8", "36W/840", 36, 20000, 3350, 0.5, 1.2, 0, 0.9, "85,5"],
         [2, 20, 6, "A60", "60W", 60, 1000, 710.5, 0.3, 1.0, 1, 1, None],
     ]),
    ("Tab1_300_50",
     ["Věta", "I0_0_180_50"],
     [[1, ISOTROPIC], [2, DOWNLIGHT], [3, DOWNLIGHT]]),
]


def main():
    book = xlwt.Workbook(encoding="utf-8")
    for name, columns, rows in SHEETS:
        sheet = book.add_sheet(name)
        for c, title in enumerate(columns):
            sheet.write(0, c, title)
        for r, row in enumerate(rows, start=1):
            for c, value in enumerate(row):
                if value is not None:
                    sheet.write(r, c, value)
    book.save(OUT)


if __name__ == "__main__":
    main()
