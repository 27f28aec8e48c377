#include "model/CLuminaireLamp.h"

#include "platform/Archive.h"

void CLuminaireLamp::Serialize(kzev::Archive& ar)
{
    ar.io(m_luminaireName);
    ar.io(m_luminaireType);
    ar.io(m_manufacturer);
    ar.io(m_lampDescription);
    ar.io(m_protection);
    ar.io(m_legendName);
    ar.io(m_luminaireRecord);
    ar.io(m_luminaireDatabase);
    ar.io(m_lampRecord);
    ar.io(m_lampDatabase);
    ar.io(m_lampFlux);
}
