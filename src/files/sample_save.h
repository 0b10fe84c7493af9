#pragma once
// Writing the store as a sample file under a name the user chose.

#include <cstdint>
#include <string>

#include "acquisition/acquisition_hooks.h"
#include "acquisition/sample_store.h"
#include "files/file_access.h"
#include "files/sample_formats.h"

namespace trelvan {

// Writes the first `count` rows (the caller guarantees count <= cycleCount)
// to `path`, replacing a file of that name only once the new one is complete.
// Logs "Start saving to bin ..." (or txt) when the file is created and
// "Save completed!" at the end; a failure is one red line with the reason.
bool SaveSamples(const SampleStore& store, uint32_t count, SampleFormat format,
                 const std::string& path, FileWriter& writer, AcquisitionHooks& hooks);

std::string SaveFailedMessage(const std::string& path, const std::string& reason);

}  // namespace trelvan
