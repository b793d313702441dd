#pragma once

#include <QtGlobal>

// The progress bar of a file being loaded counts in blocks of 128 bytes.
namespace LoadProgress
{

// The file's length in blocks, rounded to the nearest whole block, halves to the even one.
qint64 blockCount(qint64 length);

// The whole blocks among the bytes read so far.
qint64 blocksRead(qint64 read);

// The bar's width once `read` bytes of a file of `blocks` blocks (above 0) are read: the whole
// blocks read times the full width, over the block count, computed in 64 bits so that files of
// any size fit; never wider than the full width, also when the file grew while it was read.
int barWidth(qint64 read, qint64 blocks, int fullWidth);

} // namespace LoadProgress
