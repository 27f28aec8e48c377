#include "calc/CalcCatalogue.h"

namespace kzev {

const IntensityTable* CalcCatalogue::intensityTable(std::int32_t index) const
{
    const CLuminaire* source = luminaire(index);
    if (!source)
        return nullptr;
    const auto i = static_cast<std::size_t>(index);
    const std::scoped_lock hold(m_tables->lock);
    if (m_tables->tables.size() <= i)
        m_tables->tables.resize(i + 1);
    if (!m_tables->tables[i])
        m_tables->tables[i] = std::make_unique<const IntensityTable>(*source);
    return m_tables->tables[i].get();
}

} // namespace kzev
