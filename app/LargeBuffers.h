#pragma once

// A copied text can be many megabytes, held while it arrives and then handed on: each such
// buffer gets a memory mapping of its own, so that it grows in place instead of being copied and
// goes back to the system as soon as it is freed. (The C library otherwise raises its threshold
// for that after the first large buffer is freed, and serves the next ones from its heap.)
void keepLargeBuffersMapped();
