#include "model/CUndoData.h"

void CUndoData::Serialize(kzev::Archive& /*ar*/)
{
}
