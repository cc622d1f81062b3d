// Pushes finished files to the disk without keeping the operator waiting.
//
// Every data file is written to a temporary file and renamed over the old one, so a crash of
// Kelpie leaves the old or the new file whole. Forcing the new file to the disk (fsync) can take
// tens of milliseconds on a busy disk, which the operator would feel after every check-in, so it
// runs on one background thread; the program waits for it before it ends.
#pragma once

#include <filesystem>

namespace kelpie {

// Queues an fsync of the file and of its folder.
void flushInBackground(const std::filesystem::path& file);
// Waits until every queued flush is done.
void waitForFlushes();

}  // namespace kelpie
