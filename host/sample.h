// Sample projects: nested folders made through the library and chunks with names, texts, preview
// pictures, entries and extra-column values, the same for the same seed.
#pragma once

#include "host/project.h"
#include "interface/explorer_callback.h"

#include <cstdint>
#include <vector>

namespace refhost {

struct SampleOptions {
    int folders = 12;
    int chunks = 40;
    std::uint64_t seed = 1;
};

struct SampleSummary {
    std::vector<FolderId> folders; // in the order made
    int depth = 0;                 // of the deepest folder, the root's children being 1
    ChunkId firstChunk = 0;        // keys firstChunk .. lastChunk; both 0 without chunks
    ChunkId lastChunk = 0;
    int entries = 0;
};

// Fills the project. The library must be initialised with the project's database (EXPL_Init):
// EXPLORER is made through EXPL_CreateNewTable when missing and the folders through
// EXPL_CreateFolder with keys drawn from COLLECTION. The chunks are written in one transaction.
// Throws std::logic_error when the library works on another database, std::runtime_error when the
// library refuses a folder, CDaoException on database faults (nothing of the chunks is kept then).
SampleSummary PopulateSample(Project& project, const SampleOptions& options);

} // namespace refhost
