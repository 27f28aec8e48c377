// The document's part of the CAD link: finding the running CAD program.

#include "model/CKzevDoc.h"

#include "model/CadDetection.h"
#include "platform/CadLink.h"

int CKzevDoc::DetectCadApplication()
{
    auto& link = kzev::cadLink();
    return kzev::detectCadApplication(*this, *link.desktop, *link.automation);
}
