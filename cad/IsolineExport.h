#pragma once

#include "model/CVector.h"

#include <string>

class CWorkSystem;

namespace kzev {

class IsolineGrid;

/** Where an area's isolines land in the drawing and how large their labels are. */
struct IsolinePlacement {
    /** 1000 for a project in millimetres, else 1. */
    double unitFactor = 1.0;
    /** The room's corner in project coordinates, added to every point. */
    CVector origin { 0.0, 0.0, 0.0 };
    /** Distance of a label from its segment, in drawing units; labels are twice as high. */
    double labelSize = 50.0;
};

/** Receives the segments and labels of the isolines in drawing coordinates. */
class IIsolineWriter {
public:
    virtual ~IIsolineWriter() = default;
    virtual void segment(double x1, double y1, double x2, double y2) = 0;
    /** A label centred on (x, y), turned by the angle in degrees. */
    virtual void label(double x, double y, double height, double angle, const std::string& text) = 0;
};

/**
 * Writes the isolines of one area's loaded grid as chains of straight
 * segments, level by level in the order of the area's list, with a label on
 * every fifth segment (the count runs on over chains and levels). A label
 * stands beside the middle of its segment, a label size away on the side its
 * direction turned by +90 degrees points to, turned with the segment.
 * Points are the plane's x and y: callers pass floor-like areas only.
 */
void writeIsolines(const CWorkSystem& area, const IsolineGrid& grid, const IsolinePlacement& placement,
    IIsolineWriter& writer);

} // namespace kzev
