// Makes finished renames durable without keeping the operator waiting.
//
// Every data file is written to a temporary file, forced to the disk and renamed over the old
// one, so a crash or a power cut leaves the old or the new file whole. Forcing the folder too
// (which makes the rename itself survive a power cut) can take tens of milliseconds on a busy
// disk, so it runs on one background thread; the program waits for it before it ends. Until it
// is done, a power cut can only bring back the old file, whole.
#pragma once

#include <filesystem>

namespace kelpie {

// Queues an fsync of the folder.
void flushFolderInBackground(const std::filesystem::path& folder);
// Waits until every queued flush is done.
void waitForFlushes();

}  // namespace kelpie
