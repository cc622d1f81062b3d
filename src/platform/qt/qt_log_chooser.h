// The file-open dialog over the check-in logs: starts in LogFolder and lists "*.ile" files in
// any letter case under the filter text "Check-in file (*.ile)".
#pragma once

#include <string>

class QWidget;

namespace kelpie {

inline constexpr const char* kLogChooserFilter = "Check-in file (*.ile)";

// title is Windows-1252 text; folder and the result are native path text. Returns the chosen
// file's full path, or empty text when the operator cancelled.
std::string chooseLogFileQt(QWidget* parent, const std::string& title, const std::string& folder);

}  // namespace kelpie
