#include "app/announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "platform/qt/text1252.h"

namespace kelpie {

namespace {
QAccessibleInterface* noticeAccessible(const QString& className, QObject* object) {
  if (className != QLatin1String("kelpie::SpokenNotice") || !object || !object->isWidgetType())
    return nullptr;
  return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
}
}  // namespace

SpokenNotice::SpokenNotice(QWidget* parent) : QWidget(parent) {
  static const bool installed = [] {
    QAccessible::installFactory(noticeAccessible);
    return true;
  }();
  (void)installed;
  setObjectName("SpokenNotice");
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setGeometry(0, 0, 1, 1);
}

Announcer::Announcer(QWidget* window) : window_(window) {
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
  notice_ = new SpokenNotice(window_);
  notice_->lower();
  notice_->show();
#endif
}

void Announcer::say(const QString& text) {
  if (text.isEmpty()) return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  QAccessibleAnnouncementEvent event(window_, text);
  QAccessible::updateAccessibility(&event);
#else
  // Orca (43) says a notification as it comes to show; a name change alone is not said.
  notice_->setAccessibleName(text);
  notice_->hide();
  notice_->show();
#endif
}

void Announcer::draw(const MainView& v) {
  if (v.spokenRequests == saidRequests_) return;
  saidRequests_ = v.spokenRequests;
  say(fromBytes(v.spoken));
}

}  // namespace kelpie
