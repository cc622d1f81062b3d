// The file-open dialog over the check-in logs: starts in LogFolder and lists "*.ile" files in
// any letter case under the filter text "Check-in file (*.ile)".
#pragma once

#include <string>
#include <vector>

#include "platform/seams.h"

class QWidget;

namespace kelpie {

inline constexpr const char* kLogChooserFilter = "Check-in file (*.ile)";

// title is Windows-1252 text; folder and the result are native path text. Returns the chosen
// file's full path, or empty text when the operator cancelled.
// selectedName, when not empty, is the file selected as the dialog opens.
std::string chooseLogFileQt(QWidget* parent, const std::string& title, const std::string& folder,
                            const std::string& selectedName = {});

// File-save dialog starting at startPath (native path text) with the given file types; the
// result's path is native path text, empty when the operator cancelled. Replacing a file is
// not asked here.
SaveChoice chooseSaveFileQt(QWidget* parent, const std::string& title, const std::string& startPath,
                            const std::vector<std::string>& types);

}  // namespace kelpie
