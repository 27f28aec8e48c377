#include "model/NumberedName.h"

#include "platform/StringTable.h"
#include "platform/TextUtil.h"

namespace kzev {

std::string numberedName(int stringId, long number)
{
    const std::string format = loadString(stringId);
    // The texts hold either %ld or %d; varargs need the matching width.
    if (format.find("%ld") != std::string::npos)
        return formatC(format.c_str(), number);
    return formatC(format.c_str(), static_cast<int>(number));
}

} // namespace kzev
