// Conversions between Kelpie's Windows-1252 byte strings and Qt's QString.
#pragma once

#include <QString>
#include <string>

namespace kelpie {

QString fromBytes(const std::string& bytes);
// Characters Windows-1252 cannot hold become "?".
std::string toBytes(const QString& text);
// Message texts keep CR LF line breaks; Qt's boxes want plain LF.
QString fromBytesForDisplay(const std::string& bytes);

}  // namespace kelpie
