#!/usr/bin/env python3
"""Reads a DXF file with ezdxf, audits it and lists its entities for the export tests.

Prints "errors N" and "fixes N" with the audit's error and fix counts, then one line per LINE
("LINE layer colour x1 y1 z1 x2 y2 z2") and TEXT ("TEXT layer colour height
rotation halign [TOP] x y text", x and y the alignment point of a justified text,
TOP for one hanging from its point),
INSERT ("INSERT layer block x y z xscale rotation TAG=text|TAG=text", x y z in the world), POLYLINE
and LWPOLYLINE ("POLYLINE layer closed x,y x,y ...") and MTEXT ("MTEXT layer
height attachment x y text", attachment 1 top left ... 9 bottom right).
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
    print(f"fixes {len(auditor.fixes)}")
    for entity in doc.modelspace():
        kind = entity.dxftype()
        if kind == "LINE":
            s, e = entity.dxf.start, entity.dxf.end
            print(f"LINE {entity.dxf.layer} {entity.dxf.color} {s.x!r} {s.y!r} {s.z!r} {e.x!r} {e.y!r} {e.z!r}")
        elif kind == "TEXT":
            aligned = entity.dxf.halign or entity.dxf.valign
            at = entity.dxf.align_point if aligned else entity.dxf.insert
            top = "TOP " if entity.dxf.valign == 3 else ""
            print(f"TEXT {entity.dxf.layer} {entity.dxf.color} {entity.dxf.height!r} {entity.dxf.rotation!r} "
                  f"{entity.dxf.halign} {top}{at.x!r} {at.y!r} {entity.dxf.text}")
        elif kind == "INSERT":
            # Its point stands in its own system when it is turned in space.
            at = entity.ocs().to_wcs(entity.dxf.insert)
            attribs = "|".join(f"{a.dxf.tag}={a.dxf.text}" for a in entity.attribs)
            print(f"INSERT {entity.dxf.layer} {entity.dxf.name} {at.x!r} {at.y!r} {at.z!r} "
                  f"{entity.dxf.xscale!r} {entity.dxf.rotation!r} {attribs}")
        elif kind in ("POLYLINE", "LWPOLYLINE"):
            points = [(p[0], p[1]) for p in entity.points()] if kind == "POLYLINE" else \
                [(p[0], p[1]) for p in entity.get_points("xy")]
            print(f"POLYLINE {entity.dxf.layer} {int(entity.is_closed)} " + " ".join(f"{x!r},{y!r}" for x, y in points))
        elif kind == "MTEXT":
            at = entity.dxf.insert
            print(f"MTEXT {entity.dxf.layer} {entity.dxf.char_height!r} {entity.dxf.attachment_point} "
                  f"{at.x!r} {at.y!r} {entity.plain_text()}")
        else:
            print(f"OTHER {kind}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
