#include "model/CKzevDoc.h"

#include "model/DerivedLampSystems.h"
#include "model/LuminaireLegend.h"
#include "model/ManufacturerNames.h"

namespace {

/** The document's luminaire list as the mirrors read it. */
class DocumentLuminaires final : public kzev::LuminaireSymmetrySource {
public:
    explicit DocumentLuminaires(const std::vector<CLuminaire>& luminaires)
        : m_luminaires(luminaires)
    {
    }
    std::size_t luminaireCount() const override { return m_luminaires.size(); }
    std::int32_t symmetryCode(std::size_t index) const override { return m_luminaires[index].m_symmetry; }

private:
    const std::vector<CLuminaire>& m_luminaires;
};

} // namespace

kzev::LuminaireLists CKzevDoc::catalogueLists()
{
    return kzev::LuminaireLists { m_luminaires, m_lamps, m_blockPrefix, m_legendKeys, m_legendNames,
        m_manufacturerNumbers, m_manufacturerNames };
}

int CKzevDoc::ResolveLuminaire(CLampSystem& system, int showMessages)
{
    kzev::LuminaireLists lists = catalogueLists();
    return kzev::resolveLuminaire(lists, system, showMessages);
}

int CKzevDoc::ResolveLamp(CLampSystem& system, int showMessages)
{
    kzev::LuminaireLists lists = catalogueLists();
    return kzev::resolveLamp(lists, system, showMessages);
}

const CLuminaire* CKzevDoc::FindLuminaire(const CLuminaireLamp& entry) const
{
    return kzev::findLuminaire(m_luminaires, entry);
}

std::string CKzevDoc::GetManufacturerName(long number) const
{
    return kzev::manufacturerName(number, m_manufacturerNumbers, m_manufacturerNames);
}

void CKzevDoc::LoadDadLampList()
{
    kzev::DadLampList list = kzev::loadDadLampList();
    m_legendKeys = std::move(list.keys);
    m_legendNames = std::move(list.names);
}

void CKzevDoc::LoadManufacturerNames()
{
    kzev::ManufacturerNames makers = kzev::loadManufacturerNames();
    m_manufacturerNumbers = std::move(makers.numbers);
    m_manufacturerNames = std::move(makers.names);
}

int CKzevDoc::BuildLuminaireLegend()
{
    kzev::LuminaireLists lists = catalogueLists();
    return kzev::buildLuminaireLegend(m_rooms, lists, m_usedLuminaires);
}

std::string CKzevDoc::FindLuminaireLampName(const CLampSystem& system) const
{
    return kzev::findLuminaireLampName(m_usedLuminaires, system);
}

void CKzevDoc::SortUsedLuminaires()
{
    kzev::sortUsedLuminaires(m_usedLuminaires);
}

CLampSystem CKzevDoc::DeriveLampSystemMirrorX(CLampSystem system, CVector v, std::int32_t type) const
{
    return kzev::deriveLampSystemMirrorX(std::move(system), v, type, DocumentLuminaires(m_luminaires));
}

CLampSystem CKzevDoc::DeriveLampSystemMirrorY(CLampSystem system, CVector v, std::int32_t type) const
{
    return kzev::deriveLampSystemMirrorY(std::move(system), v, type, DocumentLuminaires(m_luminaires));
}

CLampSystem CKzevDoc::DeriveLampSystemMirrorDiagonal(CLampSystem system, CVector v, std::int32_t type) const
{
    return kzev::deriveLampSystemMirrorDiagonal(std::move(system), v, type, DocumentLuminaires(m_luminaires));
}

void CKzevDoc::resolveAfterOpen(bool unassignedTold)
{
    // Each message is shown once per open, not once per lamp system; the
    // rooms themselves are left as loaded, only the two lists grow.
    int luminaireMessages = 1;
    int lampMessages = 1;
    for (const CRoom& room : m_rooms) {
        // Only the lamp systems are resolved: a copy of the whole room would copy its grids of points too.
        std::vector<CLampSystem> systems = room.m_lampSystems;
        for (CLampSystem& system : systems) {
            const bool unassigned = system.m_luminaireDatabase < 1 || system.m_luminaireRecord < 1;
            const int show = unassignedTold && unassigned ? 0 : luminaireMessages;
            if (!ResolveLuminaire(system, show)) {
                if (show != 0)
                    luminaireMessages = 0;
                continue;
            }
            if (!ResolveLamp(system, lampMessages))
                lampMessages = 0;
        }
    }
}
