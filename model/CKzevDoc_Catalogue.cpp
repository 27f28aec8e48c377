#include "model/CKzevDoc.h"

void CKzevDoc::LoadDadLampList()
{
}

int CKzevDoc::BuildLuminaireLegend()
{
    return 1;
}

void CKzevDoc::resolveAfterOpen()
{
}
