#include "model/MakerWorkbook.h"

#include "platform/DataLocation.h"

CData* MakerWorkbook::open(long databaseNumber)
{
    if (m_number != databaseNumber) {
        m_number = databaseNumber;
        (void)m_data.Open(kzev::makerWorkbookPath(databaseNumber), kzev::dataLocation().driver, 0, 0);
    }
    return m_data.isOpen() ? &m_data : nullptr;
}
