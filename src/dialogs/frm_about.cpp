#include "dialogs/frm_about.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "dialogs/kelpie_icon.h"

namespace kelpie {

QString aboutLabelText() {
  return u'\n' + QString(19, u' ') + QStringLiteral("Kelpie net control log, 2026") + u'\n' +
         QString(20, u' ') +
         QStringLiteral("written by the Kelpie developers for net control operators");
}

QString aboutTitle(const QString& versionTag) {
  return QStringLiteral(" Kelpie   ") + versionTag + QStringLiteral(" for Linux (Qt 6)");
}

FrmAbout::FrmAbout(const QString& versionTag, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setWindowIcon(kelpieIcon());
  setModal(true);

  QPalette grey = palette();
  grey.setColor(QPalette::Window, QColor(192, 192, 192));
  setPalette(grey);
  setAutoFillBackground(true);

  fraAbout_ = new QFrame(this);
  fraAbout_->setObjectName(QStringLiteral("fraAbout"));
  fraAbout_->setFrameShape(QFrame::Box);
  fraAbout_->setFrameShadow(QFrame::Sunken);

  Image1_ = new QLabel(fraAbout_);
  Image1_->setObjectName(QStringLiteral("Image1"));
  Image1_->setPixmap(kelpiePixmap().scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  Image1_->setCursor(Qt::PointingHandCursor);
  Image1_->installEventFilter(this);

  lblAbout_ = new QLabel(fraAbout_);
  lblAbout_->setObjectName(QStringLiteral("lblAbout"));
  lblAbout_->setTextFormat(Qt::PlainText);
  lblAbout_->setText(aboutLabelText());

  auto* inFrame = new QHBoxLayout(fraAbout_);
  inFrame->addWidget(Image1_, 0, Qt::AlignTop);
  inFrame->addWidget(lblAbout_, 1);

  cmdAbout_ = new QPushButton(QStringLiteral("OK"), this);
  cmdAbout_->setObjectName(QStringLiteral("cmdAbout"));
  cmdAbout_->setDefault(true);
  connect(cmdAbout_, &QPushButton::clicked, this, [this] { cmdAbout_Click(); });

  auto* column = new QVBoxLayout(this);
  column->addWidget(fraAbout_);
  column->addWidget(cmdAbout_, 0, Qt::AlignHCenter);
  // The label sizes itself to its text, and the window to its contents.
  column->setSizeConstraint(QLayout::SetFixedSize);

  Form_Load(versionTag);
}

void FrmAbout::Form_Load(const QString& versionTag) {
  setWindowTitle(aboutTitle(versionTag));
  adjustSize();
  const QScreen* screen =
      parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void FrmAbout::cmdAbout_Click() { accept(); }

void FrmAbout::Image1_Click() { accept(); }

bool FrmAbout::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Image1_ && event->type() == QEvent::MouseButtonRelease) {
    Image1_Click();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void showAboutBox(QWidget* parent, const QString& versionTag) {
  FrmAbout about(versionTag, parent);
  about.exec();
}

}  // namespace kelpie
