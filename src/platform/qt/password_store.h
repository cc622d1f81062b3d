// The broker password of a shared net: kept in the desktop keyring (QtKeychain), never in a
// file, and where it comes from when Kelpie shares from the start.
#pragma once

#include <QString>

#include "share/share_url.h"

class QWidget;

namespace kelpie {

// The longest Kelpie waits for the keyring: one that never answers must not hang Kelpie.
inline constexpr int kKeyringTimeoutMs = 5000;

// The keyring's name for a login: "user@host:port", or "host:port" without a user name.
QString sharePasswordKey(const share::ShareSettings& s);

// Read and write the password stored under key for the service "Kelpie". Each waits for the
// keyring at most kKeyringTimeoutMs (the window's keys wait meanwhile, they are not lost) and
// returns false when no keyring runs (no Secret Service or KWallet on D-Bus), when it refuses,
// or when it does not answer in time. Never a plain-text fallback.
bool readSharePassword(const QString& key, QString& out);
bool writeSharePassword(const QString& key, const QString& password);

// The same write, started and left to finish on its own: the net goes on meanwhile, and a
// keyring that fails or never answers only means the password is asked again next time.
void storeSharePasswordLater(const QString& key, const QString& password);

// Asks for the password of where ("w1abc@broker.example.org:8883") in a box with hidden echo.
// A null QString on Cancel; an empty but non-null one when OK is pressed on an empty field.
QString askSharePassword(QWidget* parent, const QString& where);

// Fills s.password for sharing from the start: the environment variable KELPIE_SHARE_PASSWORD
// when set and not empty, else the keyring (under sharePasswordKey(s)), else asked. False when
// the operator cancels the box. It stores nothing: the caller writes a password that was asked
// for to the keyring once the broker has taken the login, so a mistyped one is never kept.
bool sharePasswordFor(QWidget* parent, share::ShareSettings& s);

}  // namespace kelpie
