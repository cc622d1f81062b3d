// Kelpie's own icon, from the resources compiled into the program (":/kelpie.png").
#pragma once

#include <QIcon>
#include <QPixmap>

namespace kelpie {

// The resources live in a static library, so they are registered on first use here rather
// than by a static initializer the linker may drop.
void ensureKelpieResources();
QIcon kelpieIcon();
QPixmap kelpiePixmap();

}  // namespace kelpie
