#include "model/ValueTables.h"

#include <cmath>
#include <limits>

namespace ValueTables {

static_assert(FreqTable[0] == 20 && FreqTable[68] == 1000 && FreqTable[120] == 20000);
static_assert(ReleaseTable[175] == 200 && ReleaseTable[176] == 205 && ReleaseTable[205] == 350);

int CodeOf(double code)
{
    if (!(std::fabs(code) < std::numeric_limits<int>::max()))
        return 0;
    return static_cast<int>(code);
}

int NearestTableIndex(double x, std::span<const double> table)
{
    if (table.empty())
        return 0;
    return NearestPointIndex(
        x, [&](int k) { return table[static_cast<std::size_t>(k)]; },
        static_cast<int>(table.size()) - 1);
}

} // namespace ValueTables
