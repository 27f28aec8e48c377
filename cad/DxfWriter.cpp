#include "cad/DxfWriter.h"

#include "platform/TextUtil.h"

#include <cmath>

namespace kzev {

namespace {

void code(std::string& out, int group)
{
    out += formatC("%3d\n", group);
}

void text(std::string& out, int group, const std::string& value)
{
    code(out, group);
    out += value;
    out += '\n';
}

void real(std::string& out, int group, double value)
{
    code(out, group);
    out += formatC("%f\n", value);
}

void integer(std::string& out, int group, int value)
{
    code(out, group);
    out += formatC("%d\n", value);
}

// Characters, not bytes: a Czech label counts "ř" once.
double characterCount(const std::string& value)
{
    double count = 0.0;
    for (const char c : value)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1.0 : 0.0;
    return count;
}

} // namespace

void DxfWriteEntitiesHeader(std::string& out)
{
    text(out, 0, "SECTION");
    text(out, 2, "ENTITIES");
}

void DxfWriteTrailer(std::string& out)
{
    text(out, 0, "ENDSEC");
    text(out, 0, "EOF");
}

void DxfWriteLine2D(std::string& out, double x1, double y1, double x2, double y2, int colour, const std::string& layer)
{
    DxfWriteLine3D(out, x1, y1, 0.0, x2, y2, 0.0, colour, layer);
}

void DxfWriteLine3D(std::string& out, double x1, double y1, double z1, double x2, double y2, double z2, int colour,
    const std::string& layer)
{
    text(out, 0, "LINE");
    text(out, 8, layer);
    integer(out, 62, colour);
    real(out, 10, x1);
    real(out, 20, y1);
    real(out, 30, z1);
    real(out, 11, x2);
    real(out, 21, y2);
    real(out, 31, z2);
}

void DxfWriteText(std::string& out, int justification, double x, double y, double height, double angle,
    const std::string& value, const std::string& layer)
{
    const double a = angle * 0.01745328888888889;
    const double n = characterCount(value);
    double share = 0.0;
    if (justification == kDxfCentre)
        share = 0.375;
    else if (justification == kDxfRight)
        share = 0.75;
    text(out, 0, "TEXT");
    text(out, 8, layer);
    integer(out, 62, 7);
    real(out, 10, x - n * std::cos(a) * height * share);
    real(out, 20, y - n * std::sin(a) * height * share);
    real(out, 30, 0.0);
    code(out, 40);
    const std::string oneDecimal = formatC("%1.1f", height);
    out += std::fabs(StrToDouble(oneDecimal) - height) < 1e-9 ? oneDecimal : formatC("%f", height);
    out += '\n';
    real(out, 50, angle);
    text(out, 1, value);
    if (justification == kDxfLeft)
        return;
    code(out, 72);
    out += formatC("%6d\n", justification);
    real(out, 11, x);
    real(out, 21, y);
    real(out, 31, 0.0);
}

} // namespace kzev
