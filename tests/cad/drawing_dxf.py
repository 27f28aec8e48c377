#!/usr/bin/env python3
"""ezdxf's side of the drawing window's DXF tests.

"list FILE": audits the file and lists its model space, numbers to four
decimals, points in world coordinates (an entity's own system turned into the
world's), angles in degrees:
  errors N / fixes N
  LAYER name colour
  LINE layer colour x1 y1 z1 x2 y2 z2
  POLYLINE layer colour closed x,y,z x,y,z ...
  TEXT layer colour height rotation x y z text    (x y z: the point the text hangs on)
  MTEXT layer colour height rotation attachment x y z text
  INSERT layer colour block x y z ex ey ez sx sy sz rotation TAG=text=visibility|...
"make FILE": writes with ezdxf a drawing of each kind the window reads.
"blocks FILE": writes with ezdxf a block of a rectangle (polyline), a line and a
circle, inserted scaled and turned, and lists what ezdxf makes of the insert
in the world:
  POLYLINE closed x,y x,y ...
  LINE x1 y1 x2 y2
  ELLIPSE cx cy major_x major_y ratio
"kept FILE": audits the file and lists its model space's arcs and circles and
what its blocks hold:
  errors N / fixes N
  ARC layer cx cy cz radius start end
  CIRCLE layer cx cy cz radius
  BLOCK name kind [ATTDEF: tag prompt=default | TEXT: text]
"""
import math
import sys

import ezdxf
from ezdxf.math import OCS


def n(value):
    text = f"{value:.4f}"
    return "0.0000" if text == "-0.0000" else text


def one_line(text):
    return text.replace("\n", "\\P")


def point(p):
    return f"{n(p[0])} {n(p[1])} {n(p[2])}"


def listing(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    for error in auditor.errors:
        print(f"error {error.message}")
    for fix in auditor.fixes:
        print(f"fix {fix.message}")
    print(f"errors {len(auditor.errors)}")
    print(f"fixes {len(auditor.fixes)}")
    with open(path, "rb") as file:
        raw = file.read()
    for layer in doc.layers:
        # ezdxf adds the layer Defpoints on loading when a file has none.
        if layer.dxf.name == "Defpoints" and b"Defpoints" not in raw:
            continue
        print(f"LAYER {layer.dxf.name} {abs(layer.dxf.color)}")
    for e in doc.modelspace():
        kind = e.dxftype()
        d = e.dxf
        if kind == "LINE":
            print(f"LINE {d.layer} {d.color} {point(d.start)} {point(d.end)}")
        elif kind in ("LWPOLYLINE", "POLYLINE"):
            if kind == "LWPOLYLINE":
                ocs = e.ocs()
                points = [ocs.to_wcs((x, y, d.elevation)) for x, y in e.get_points("xy")]
            else:
                points = list(e.points_in_wcs())
            print(f"POLYLINE {d.layer} {d.color} {int(e.is_closed)} "
                  + " ".join(f"{n(p[0])},{n(p[1])},{n(p[2])}" for p in points))
        elif kind == "TEXT":
            aligned = d.halign or d.valign
            at = e.ocs().to_wcs(d.align_point if aligned else d.insert)
            print(f"TEXT {d.layer} {d.color} {n(d.height)} {n(d.rotation)} {point(at)} {d.text}")
        elif kind == "MTEXT":
            print(f"MTEXT {d.layer} {d.color} {n(d.char_height)} {n(e.get_rotation())} {d.attachment_point} "
                  f"{point(d.insert)} {one_line(e.plain_text())}")
        elif kind == "INSERT":
            at = e.ocs().to_wcs(d.insert)
            attribs = "|".join(f"{a.dxf.tag}={a.dxf.text}={'invisible' if a.is_invisible else 'visible'}"
                               for a in e.attribs)
            print(f"INSERT {d.layer} {d.color} {d.name} {point(at)} {point(d.extrusion)} "
                  f"{n(d.xscale)} {n(d.yscale)} {n(d.zscale)} {n(d.rotation)} {attribs}")
        else:
            print(f"OTHER {kind}")


def make(path):
    doc = ezdxf.new("R2000")
    doc.layers.add("SVETLA", color=1)
    doc.layers.add("POPISY", color=3)
    symbol = doc.blocks.new("DAD31")
    symbol.add_lwpolyline([(-5, -5), (5, -5), (5, 5), (-5, 5)], close=True)
    msp = doc.modelspace()
    msp.add_line((0, 0, 800), (4000, 0, 800), dxfattribs={"layer": "POPISY", "color": 5})
    msp.add_lwpolyline([(0, 0), (4000, 0), (4000, 3000), (0, 3000)], close=True,
                       dxfattribs={"layer": "POPISY"})
    msp.add_text("Svislý", dxfattribs={"layer": "POPISY", "height": 100, "rotation": 90,
                                        "insert": (1000, 500, 0)})
    msp.add_text("Šikmý", dxfattribs={"layer": "POPISY", "height": 50, "rotation": 30,
                                       "insert": (2000, 500, 0), "color": 2})
    msp.add_mtext("Odstavec\\Pdruhý díl", dxfattribs={"layer": "POPISY", "char_height": 40, "rotation": 45,
                                                        "insert": (500, 2500, 0), "attachment_point": 5})
    upright = msp.add_blockref("DAD31", (1000, 2000, 2800), dxfattribs={"layer": "SVETLA", "rotation": 270,
                                                                         "xscale": 50, "yscale": 50, "zscale": 50})
    upright.add_attrib("SVITIDLO", "0 0 0 0 -50 -50 1 12 3 4 5 6", (1300, 2000)).dxf.flags = 1
    upright.add_attrib("POPIS", "A12", (1300, 1900))
    # Turned 30 degrees about the x axis: its insertion point stands in its own system.
    normal = (0.0, -math.sin(math.radians(30)), math.cos(math.radians(30)))
    world = (3000.0, 1500.0, 2800.0)
    tilted = msp.add_blockref("DAD31", OCS(normal).from_wcs(world),
                              dxfattribs={"layer": "SVETLA", "rotation": 15, "extrusion": normal,
                                          "xscale": 50, "yscale": 50, "zscale": 50})
    tilted.add_attrib("SVITIDLO", "1 2 3", (0, 0)).dxf.flags = 1
    doc.saveas(path)


def blocks(path):
    doc = ezdxf.new("R2000")
    table = doc.blocks.new("STUL", base_point=(10, 5))
    table.add_lwpolyline([(0, 0), (120, 0), (120, 60), (0, 60)], close=True)
    table.add_line((0, 0), (120, 60))
    table.add_circle((90, 30), 20)
    msp = doc.modelspace()
    ref = msp.add_blockref("STUL", (1000, 500), dxfattribs={"xscale": 2, "yscale": 1.5, "rotation": 30})
    ref.add_attrib("POPIS", "Stůl 1", (1000, 400))
    doc.saveas(path)
    for e in ref.virtual_entities():
        kind = e.dxftype()
        if kind == "LWPOLYLINE":
            ocs = e.ocs()
            points = [ocs.to_wcs((x, y, e.dxf.elevation)) for x, y in e.get_points("xy")]
            print(f"POLYLINE {int(e.is_closed)} " + " ".join(f"{n(p[0])},{n(p[1])}" for p in points))
        elif kind == "LINE":
            print(f"LINE {n(e.dxf.start[0])} {n(e.dxf.start[1])} {n(e.dxf.end[0])} {n(e.dxf.end[1])}")
        elif kind == "ELLIPSE":
            d = e.dxf
            print(f"ELLIPSE {n(d.center[0])} {n(d.center[1])} {n(d.major_axis[0])} {n(d.major_axis[1])} {n(d.ratio)}")
        else:
            print(f"OTHER {kind}")


def kept(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print(f"errors {len(auditor.errors)}")
    print(f"fixes {len(auditor.fixes)}")
    for e in doc.modelspace():
        d = e.dxf
        if e.dxftype() == "ARC":
            print(f"ARC {d.layer} {point(d.center)} {n(d.radius)} {n(d.start_angle)} {n(d.end_angle)}")
        elif e.dxftype() == "CIRCLE":
            print(f"CIRCLE {d.layer} {point(d.center)} {n(d.radius)}")
    for block in doc.blocks:
        if block.name.startswith("*"):
            continue
        for e in block:
            if e.dxftype() == "ATTDEF":
                print(f"BLOCK {block.name} ATTDEF {e.dxf.tag} {e.dxf.prompt}={e.dxf.text}")
            elif e.dxftype() == "TEXT":
                print(f"BLOCK {block.name} TEXT {e.dxf.text}")
            else:
                print(f"BLOCK {block.name} {e.dxftype()}")


if __name__ == "__main__":
    if sys.argv[1] == "make":
        make(sys.argv[2])
    elif sys.argv[1] == "blocks":
        blocks(sys.argv[2])
    elif sys.argv[1] == "kept":
        kept(sys.argv[2])
    else:
        listing(sys.argv[2])
