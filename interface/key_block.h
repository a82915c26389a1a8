// Blocks of keys handed to the host: 32-bit little-endian keys in global memory, which the host
// frees.
#pragma once

#include "platform/collections.h"
#include "platform/global_memory.h"

enum class KeyCount { Omitted, First };

// The keys, after their count when asked for; null when the block cannot be had.
HGLOBAL MakeKeyBlock(const CDWordArray& keys, KeyCount count);
