#!/usr/bin/env python3
"""Reads a DXF file with ezdxf, audits it and lists its entities for the export tests.

Prints "errors N" with the audit's error count, then one line per LINE
("LINE layer colour x1 y1 z1 x2 y2 z2") and TEXT ("TEXT layer colour height
rotation halign x y text", x and y the alignment point of a justified text).
Exit status 2 when the file cannot be read at all.
"""
import sys

import ezdxf


def main(path):
    try:
        doc = ezdxf.readfile(path)
    except (IOError, ezdxf.DXFStructureError) as error:
        print(f"unreadable {error}")
        return 2
    auditor = doc.audit()
    for error in auditor.errors:
        print(f"error {error.message}")
    print(f"errors {len(auditor.errors)}")
    for entity in doc.modelspace():
        kind = entity.dxftype()
        if kind == "LINE":
            s, e = entity.dxf.start, entity.dxf.end
            print(f"LINE {entity.dxf.layer} {entity.dxf.color} {s.x!r} {s.y!r} {s.z!r} {e.x!r} {e.y!r} {e.z!r}")
        elif kind == "TEXT":
            at = entity.dxf.align_point if entity.dxf.halign else entity.dxf.insert
            print(f"TEXT {entity.dxf.layer} {entity.dxf.color} {entity.dxf.height!r} {entity.dxf.rotation!r} "
                  f"{entity.dxf.halign} {at.x!r} {at.y!r} {entity.dxf.text}")
        else:
            print(f"OTHER {kind}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
