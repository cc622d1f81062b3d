#include "dialogs/kelpie_icon.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares its function where it stands, so it must stand outside a namespace.
static void registerKelpieQrc() { Q_INIT_RESOURCE(kelpie); }

namespace kelpie {

void ensureKelpieResources() {
  static const bool registered = (registerKelpieQrc(), true);
  (void)registered;
}

QIcon kelpieIcon() {
  ensureKelpieResources();
  return QIcon(QStringLiteral(":/kelpie.png"));
}

QPixmap kelpiePixmap() {
  ensureKelpieResources();
  return QPixmap(QStringLiteral(":/kelpie.png"));
}

}  // namespace kelpie
