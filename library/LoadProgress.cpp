#include "library/LoadProgress.h"

#include <algorithm>
#include <cmath>

namespace LoadProgress
{

qint64 blockCount(qint64 length)
{
    const qint64 whole = length / 128;
    const qint64 rest = length % 128;
    if (rest > 64 || (rest == 64 && whole % 2 == 1))
        return whole + 1;
    return whole;
}

qint64 blocksRead(qint64 read)
{
    return read / 128;
}

int barWidth(qint64 read, qint64 blocks, int fullWidth)
{
    const double width = double(blocksRead(read) * fullWidth) / double(blocks);
    return int(std::clamp<double>(std::nearbyint(width), 0, std::max(fullWidth, 0)));
}

} // namespace LoadProgress
