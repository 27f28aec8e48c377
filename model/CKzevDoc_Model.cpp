#include "model/CKzevDoc.h"

#include "model/DerivedLampSystems.h"
#include "model/RegularLayout.h"
#include "model/ResultValues.h"

double CKzevDoc::GetResultValue(const CWorkSystem& area)
{
    return kzev::resultValue(area);
}

std::string CKzevDoc::FormatResultValue(const CWorkSystem& area) const
{
    return kzev::formatResultValue(area);
}

std::string CKzevDoc::FormatLength(double metres) const
{
    return kzev::formatLength(metres, m_unitMm);
}

std::string CKzevDoc::FormatPropertyLength(double metres) const
{
    return kzev::formatPropertyLength(metres, m_unitMm);
}

std::string CKzevDoc::FormatCount(std::int32_t count) const
{
    return kzev::formatCount(count);
}

double CKzevDoc::ParseLength(const std::string& text) const
{
    return kzev::parseLength(text, m_unitMm);
}

void CKzevDoc::LayOutRegularLuminaires(CLampSystem& system, std::size_t modeCount)
{
    kzev::layOutRegularLuminaires(system, modeCount);
}

CLampSystem CKzevDoc::DeriveLampSystemShift(CLampSystem system, CVector v, std::int32_t type)
{
    return kzev::deriveLampSystemShift(std::move(system), v, type);
}

CLampSystem CKzevDoc::DeriveLampSystemShiftBack(CLampSystem system, CVector v, std::int32_t type)
{
    return kzev::deriveLampSystemShiftBack(std::move(system), v, type);
}

CVector CKzevDoc::IntersectLineWithFloor(const COneLampSystem& luminaire)
{
    return kzev::intersectLineWithFloor(luminaire);
}
