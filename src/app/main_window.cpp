#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>

#include "app/key_codes.h"
#include "dialogs/frm_about.h"
#include "dialogs/frm_web_path.h"
#include "platform/qt/text1252.h"
#include "reports/export.h"
#include "reports/reports.h"

namespace kelpie {

namespace {
// Control places in twips, in the client area of 6744 x 4824 twips.
struct Place {
  const char* name;
  int left, top, width, height;
};
constexpr int kClientWidthTwips = 6744;
constexpr int kClientHeightTwips = 4824;
constexpr Place kPlaces[] = {
    {"Label1", 1335, 75, 4020, 255},    {"Command2", 750, 465, 1785, 345},
    {"Label2", 2625, 540, 1110, 255},   {"CallSignInput", 3855, 495, 1740, 285},
    {"CheckIns", 135, 900, 6435, 2928}, {"Label3", 1176, 3936, 4380, 252},
    {"Ack", 1065, 4320, 1485, 225},     {"Comment", 2700, 4320, 1215, 255},
    {"CmdExit", 4365, 4260, 1215, 375}, {"File1", 150, 4035, 1410, 648},
};

// A label shows a stored "&&" as one "&".
QString labelText(const std::string& caption) {
  QString t = fromBytes(caption);
  t.replace(QLatin1String("&&"), QLatin1String("&"));
  return t;
}

// Menu texts take "&" as an access key mark; Kelpie's captions show it as it stands.
QString actionText(const std::string& caption) {
  QString t = fromBytes(caption);
  t.replace(QLatin1String("&"), QLatin1String("&&"));
  return t;
}

// The menu bar's entries with their access keys: Alt and the letter opens the menu with its
// first item active, as on any desktop; the captions show no underlined letter. An entry
// without items is a command of the menu bar itself.
struct TopMenu {
  const char* name;
  Qt::Key key;
  bool command;
};
constexpr TopMenu kTopMenus[] = {
    {"mFile", Qt::Key_F, false},        {"mEdit", Qt::Key_E, false},    {"mView", Qt::Key_V, false},
    {"mainHelp", Qt::Key_H, false},     {"mOptions", Qt::Key_O, false}, {"mSet", Qt::Key_S, false},
    {"mwriteLogFile", Qt::Key_W, true}, {"mTools", Qt::Key_T, false},
};

const TopMenu* topMenu(const std::string& name) {
  for (const TopMenu& m : kTopMenus)
    if (name == m.name) return &m;
  return nullptr;
}

constexpr int kZoomStep = 10;
constexpr int kZoomMin = 50;
constexpr int kZoomMax = 200;

// Makes the first item a keyboard user can run the menu's active one.
void activateFirstItem(QMenu* menu) {
  for (QAction* a : menu->actions()) {
    if (a->isSeparator() || !a->isVisible() || !a->isEnabled()) continue;
    menu->setActiveAction(a);
    return;
  }
}
}  // namespace

// ---- the list ----------------------------------------------------------------------------

void CheckInsList::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    emit mouseDown(2, e->globalPosition().toPoint(), false);
    e->accept();
    return;
  }
  QListWidget::mousePressEvent(e);
  if (e->button() == Qt::LeftButton && itemAt(e->position().toPoint())) emit clicked();
  emit mouseDown(e->button() == Qt::LeftButton ? 1 : 4, e->globalPosition().toPoint(), false);
}

void CheckInsList::keyPressEvent(QKeyEvent* e) {
  const int before = currentRow();
  QListWidget::keyPressEvent(e);
  if (currentRow() != before && currentRow() >= 0) emit clicked();
}

void CheckInsList::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    e->accept();
    return;
  }
  QListWidget::mouseReleaseEvent(e);
}

void CheckInsList::contextMenuEvent(QContextMenuEvent* e) {
  // The press already opened the popup; a keyboard menu key acts like a right press.
  if (e->reason() == QContextMenuEvent::Mouse) {
    e->accept();
    return;
  }
  emit mouseDown(2, e->globalPos(), true);
}

// ---- the window ----------------------------------------------------------------------------

MainWindow::MainWindow(Session& session, QWidget* parent) : QMainWindow(parent), s_(session) {
  setObjectName("frmKelpie");
  // The window takes the application's icon, which main() sets once the window is up.
  auto* central = new QWidget(this);
  central->setObjectName("clientArea");
  setCentralWidget(central);
  // The control places were laid out for a small 8-point face; a larger default would clip them.
  baseFont_ = font();
  baseFont_.setPointSizeF(8);
  buildControls();
  buildMenus();
  qApp->installEventFilter(this);
  const double dpi = logicalDpiX() > 0 ? logicalDpiX() : 96.0;
  resize(static_cast<int>(kClientWidthTwips * dpi / 1440.0),
         static_cast<int>(kClientHeightTwips * dpi / 1440.0) + menuBar()->sizeHint().height());
  render();
}

MainWindow::~MainWindow() { qApp->removeEventFilter(this); }

void MainWindow::buildControls() {
  QWidget* c = centralWidget();
  label1_ = new QLabel(c);
  label1_->setObjectName("Label1");
  // Colours through the palette: a style sheet would pin the font at its first size.
  const QColor paleGreen(192, 255, 192);
  QPalette green = label1_->palette();
  green.setColor(QPalette::Window, paleGreen);
  label1_->setAutoFillBackground(true);
  label1_->setPalette(green);
  command2_ = new QPushButton(c);
  command2_->setObjectName("Command2");
  label2_ = new QLabel(c);
  label2_->setObjectName("Label2");
  entry_ = new QLineEdit(c);
  entry_->setObjectName("CallSignInput");
  entry_->setToolTip("Call or function number");
  list_ = new CheckInsList(c);
  list_->setObjectName("CheckIns");
  // Every line is one line of text in one font: laying out a long list (a station search can
  // show a thousand) then costs one measurement instead of one per line.
  list_->setUniformItemSizes(true);
  QPalette yellow = list_->palette();
  yellow.setColor(QPalette::Base, QColor(255, 255, 192));
  list_->setPalette(yellow);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  label3_ = new QLabel(c);
  label3_->setObjectName("Label3");
  label3_->setAutoFillBackground(true);
  label3_->setPalette(green);
  ack_ = new QRadioButton("Acknowledge", c);
  ack_->setObjectName("Ack");
  ack_->setChecked(true);
  comment_ = new QRadioButton("Comments", c);
  comment_->setObjectName("Comment");
  cmdExit_ = new QPushButton("Quit", c);
  cmdExit_->setObjectName("CmdExit");
  cmdExit_->setToolTip(" Exit program ");
  file1_ = new QListWidget(c);
  file1_->setObjectName("File1");
  file1_->hide();
  for (const char* name : {"Browse", "CommonDialog1", "ActiveResize1"}) {
    auto* o = new QObject(this);
    o->setObjectName(name);
  }

  connect(command2_, &QPushButton::clicked, this, [this] { run([this] { s_.Command2_Click(); }); });
  connect(cmdExit_, &QPushButton::clicked, this, [this] { run([this] { s_.CmdExit_Click(); }); });
  connect(ack_, &QRadioButton::toggled, this, [this](bool on) {
    if (rendering_ || !on) return;
    run([this] {
      s_.view.ackSelected = true;
      s_.Ack_Click();
    });
  });
  connect(comment_, &QRadioButton::toggled, this, [this](bool on) {
    if (rendering_ || !on) return;
    run([this] {
      s_.view.ackSelected = false;
      s_.Comment_Click();
    });
  });
  connect(list_, &CheckInsList::clicked, this, [this] { run([this] { s_.CheckIns_Click(); }); });
  connect(list_, &CheckInsList::mouseDown, this, [this](int button, QPoint at, bool byKeyboard) {
    bool popup = false;
    run([&] { popup = s_.CheckIns_MouseDown(button); });
    if (!popup) return;
    popup_->popup(at);
    if (byKeyboard) activateFirstItem(popup_);
  });
  layoutControls();
}

void MainWindow::buildMenus() {
  QMenu* current = nullptr;
  for (const auto& [name, item] : initialMenuItems()) {
    if (const TopMenu* top = topMenu(name)) {
      if (top->command) {
        QAction* a = menuBar()->addAction(actionText(item.caption));
        a->setObjectName(QString::fromStdString(name));
        actions_[name] = a;
        const std::string n = name;
        connect(a, &QAction::triggered, this, [this, n] { dispatch(n); });
        current = nullptr;
        continue;
      }
      current = menuBar()->addMenu(actionText(item.caption));
      current->setObjectName(QString::fromStdString(name));
      current->menuAction()->setObjectName(QString::fromStdString(name));
      menus_[name] = current;
      actions_[name] = current->menuAction();
      continue;
    }
    if (name == "mnuPopUp") {
      popup_ = new QMenu(actionText(item.caption), this);
      popup_->setObjectName("mnuPopUp");
      current = popup_;
      continue;
    }
    if (!current) continue;
    QAction* a = nullptr;
    if (item.caption == "-") {
      a = current->addSeparator();
    } else {
      a = current->addAction(actionText(item.caption));
      const std::string n = name;
      connect(a, &QAction::triggered, this, [this, n] { dispatch(n); });
    }
    a->setObjectName(QString::fromStdString(name));
    actions_[name] = a;
  }
  for (const char* checkable : {"mTypeHelp", "mACModes", "mEnterModes", "mUseNumberModes",
                                "mUseSpaceBarModes", "mDistanceTypeMiles", "mDistanceTypekM"})
    actions_[checkable]->setCheckable(true);
}

QAction* MainWindow::action(const std::string& name) const {
  auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::dispatch(const std::string& name) {
  using H = std::function<void(Session&)>;
  static const std::map<std::string, H> handlers{
      {"MPPastLog", MPPastLog_Click},
      {"mPLogMostCheckins", mPLogMostCheckins_Click},
      {"mPShortcuts", mPShortcuts_Click},
      {"mSaveBU", [](Session& s) { s.mSaveBU_Click(); }},
      {"mExit", [](Session& s) { s.mExit_Click(); }},
      {"mEditNetControl", [](Session& s) { s.mEditNetControl_Click(); }},
      {"mUpdateToNewCall", [](Session& s) { s.mUpdateToNewCall_Click(); }},
      {"mLoadLog", mLoadLog_Click},
      {"mEditADIF", [](Session& s) { s.mEditADIF_Click(); }},
      {"mMostCheckinsperYear", mMostCheckinsperYear_Click},
      {"mMostCheckins", mMostCheckins_Click},
      {"mContents", [](Session& s) { s.mContents_Click(); }},
      {"mTypeHelp", [](Session& s) { s.mTypeHelp_Click(); }},
      {"mACModes", [](Session& s) { s.mACModes_Click(); }},
      {"mEnterModes", [](Session& s) { s.mEnterModes_Click(); }},
      {"mUseNumberModes", [](Session& s) { s.mUseNumberModes_Click(); }},
      {"mUseSpaceBarModes", [](Session& s) { s.mUseSpaceBarModes_Click(); }},
      {"mDistanceTypeMiles", [](Session& s) { s.mDistanceTypeMiles_Click(); }},
      {"mDistanceTypekM", [](Session& s) { s.mDistanceTypekM_Click(); }},
      {"mwriteLogFile", mwriteLogFile_Click},
      {"mFindCall", [](Session& s) { s.mFindCall_Click(); }},
      {"mRegulars", [](Session& s) { s.mRegulars_Click(); }},
      {"mExport", mExport_Click},
      {"mnuQRZConnect", [](Session& s) { s.mnuQRZConnect_Click(); }},
      {"mnuPopUpMultiple", [](Session& s) { s.mnuPopUpMultiple_Click(); }},
      {"mnuPopUpCall", [](Session& s) { s.mnuPopUpCall_Click(); }},
      {"mnuPopUpName", [](Session& s) { s.mnuPopUpName_Click(); }},
      {"mnuPopUpQTH", [](Session& s) { s.mnuPopUpQTH_Click(); }},
      {"mnuPopUpInsertGrid", [](Session& s) { s.mnuPopUpInsertGrid_Click(); }},
      {"mnuPopUpUpdateCall", [](Session& s) { s.mnuPopUpUpdateCall_Click(); }},
  };
  if (name == "mAbout") {
    run([this] { showAboutBox(this, fromBytes(s_.versionTag)); });
    return;
  }
  if (name == "mSetBrowserPath") {
    run([this] {
      showWebPathPicker(this, s_.settings.browserPath,
                        QString::fromStdString(s_.appFolder.string()),
                        [this] { s_.writeSettings(); });
    });
    return;
  }
  auto it = handlers.find(name);
  if (it != handlers.end()) run([&] { it->second(s_); });
}

void MainWindow::pullFromWidgets() {
  s_.view.entryText = toBytes(entry_->text());
  shownEntry_ = s_.view.entryText;
  const auto sel = list_->selectedItems();
  s_.view.selected = sel.isEmpty() ? -1 : list_->row(sel.front());
}

void MainWindow::run(const std::function<void()>& handler) {
  pullFromWidgets();
  ++depth_;
  handler();
  --depth_;
  render();
  if (depth_ == 0) handleRequests();
}

void MainWindow::handleRequests() {
  if (s_.view.quitRequested) {
    s_.view.quitRequested = false;
    quitting_ = true;
    close();
    return;
  }
  if (s_.view.closeRequested) {
    s_.view.closeRequested = false;
    close();
  }
}

void MainWindow::render() {
  rendering_ = true;
  const MainView& v = s_.view;
  setWindowTitle(fromBytes(v.title));
  label1_->setText(labelText(v.label1));
  if (label2_->text() != labelText(v.label2)) {
    label2_->setText(labelText(v.label2));
    label2_->resize(std::max(label2_->width(), label2_->sizeHint().width()), label2_->height());
  }
  label2_->setVisible(v.label2Visible);
  label3_->setText(labelText(v.label3));
  command2_->setText(fromBytes(v.command2));
  // The line belongs to the operator while typing: only a procedure's change is written.
  if (v.entryText != shownEntry_) {
    entry_->setText(fromBytes(v.entryText));
    shownEntry_ = v.entryText;
  }
  entry_->setEnabled(v.entryEnabled);
  if (v.lines != shownLines_) {
    QStringList items;
    items.reserve(static_cast<qsizetype>(v.lines.size()));
    for (const auto& l : v.lines) items << fromBytes(l);
    list_->setUpdatesEnabled(false);
    list_->clear();
    list_->addItems(items);
    list_->setUpdatesEnabled(true);
    shownLines_ = v.lines;
  }
  if (v.fixedFont && list_->font().family() != "Courier New") {
    QFont f("Courier New");
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    f.setPointSizeF(list_->font().pointSizeF());
    list_->setFont(f);
  }
  const int current = list_->selectedItems().isEmpty() ? -1 : list_->currentRow();
  if (current != v.selected) {
    if (v.selected >= 0 && v.selected < list_->count()) {
      list_->setCurrentRow(v.selected, QItemSelectionModel::ClearAndSelect);
    } else {
      list_->clearSelection();
      list_->setCurrentRow(-1);
    }
  }
  if (ack_->isChecked() != v.ackSelected) {
    ack_->setChecked(v.ackSelected);
    comment_->setChecked(!v.ackSelected);
  }
  for (const auto& [name, item] : v.menus) {
    QAction* a = action(name);
    if (!a) continue;
    if (item.caption != "-") a->setText(actionText(item.caption));
    if (a->isCheckable()) a->setChecked(item.checked);
    a->setEnabled(item.enabled);
    a->setVisible(item.visible);
  }
  if (file1_->count() != static_cast<int>(s_.file1.size())) {
    file1_->clear();
    for (const auto& n : s_.file1) file1_->addItem(fromBytes(n));
  }
  if (v.focusEntryRequests != shownFocusRequests_) {
    shownFocusRequests_ = v.focusEntryRequests;
    if (entry_->isEnabled()) entry_->setFocus(Qt::OtherFocusReason);
  }
  rendering_ = false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
    return QMainWindow::eventFilter(watched, event);
  auto* w = qobject_cast<QWidget*>(watched);
  auto* key = static_cast<QKeyEvent*>(event);
  if (event == passThrough_) return false;
  // Esc closes a menu of the menu bar and gives the keyboard back to the window at once, rather
  // than leave the menu bar waiting for keys the operator means for the entry line.
  if (type == QEvent::KeyPress && key->key() == Qt::Key_Escape && w &&
      w == QApplication::activePopupWidget()) {
    for (const auto& [name, menu] : menus_) {
      if (menu != w) continue;
      menu->hide();
      activateWindow();
      if (entry_->isEnabled()) entry_->setFocus(Qt::PopupFocusReason);
      return true;
    }
  }
  // Keys are previewed only for the main window itself, never for its dialogs, menus or menu bar.
  if (!w || w->window() != this || qobject_cast<QMenuBar*>(w))
    return QMainWindow::eventFilter(watched, event);
  const bool busy = keyBusy_ || depth_ > 0;
  if (!busy && (QApplication::activeModalWidget() || QApplication::activePopupWidget()))
    return QMainWindow::eventFilter(watched, event);
  // Every key of the window is the window's own: no shortcut takes one.
  if (type == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
  // A key event travels up from the focused widget; take it once, at the focus.
  if (w != QApplication::focusWidget() && QApplication::focusWidget() &&
      QApplication::focusWidget()->window() == this)
    return false;
  // One key at a time: a key that arrives while another one, or any handler, is still running
  // (it let pending events run, or opened a box) waits and is handled after it, in order.
  if (busy) {
    heldKeys_.push_back(std::unique_ptr<QKeyEvent>(static_cast<QKeyEvent*>(key->clone())));
    return true;
  }
  keyBusy_ = true;
  handleKey(w, key);
  while (!heldKeys_.empty() && depth_ == 0) {
    const std::unique_ptr<QKeyEvent> next = std::move(heldKeys_.front());
    heldKeys_.pop_front();
    QWidget* target = QApplication::activePopupWidget();
    if (!target) target = QApplication::activeModalWidget();
    if (target) {
      if (target->focusWidget()) target = target->focusWidget();
      QCoreApplication::sendEvent(target, next.get());
      continue;
    }
    // The window's focused control, even while the window waits to be active again.
    handleKey(focusWidget() ? focusWidget() : this, next.get());
  }
  keyBusy_ = false;
  return true;
}

void MainWindow::handleKey(QWidget* target, QKeyEvent* key) {
  const auto deliver = [&] {
    // A key that came to the window with no control focused goes to the one the preview chose.
    if (target == this && focusWidget()) target = focusWidget();
    passThrough_ = key;
    QCoreApplication::sendEvent(target, key);
    passThrough_ = nullptr;
  };
  if (key->type() != QEvent::KeyPress) return deliver();
  if (zoomKey(key)) return;
  const int code = keyCodeOf(key);
  run([&] { s_.Form_KeyDown(code, shiftStateOf(key)); });
  if (openTopMenu(key)) return;
  if (code == kKeySpace) return;  // a callsign never holds a space
  if (code == kKeyEnter && target == entry_) {
    run([&] {
      int k = kKeyEnter;
      s_.CallSignInput_KeyPress(k);
    });
    return;
  }
  deliver();
}

bool MainWindow::openTopMenu(const QKeyEvent* key) {
  if ((key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) != Qt::AltModifier) return false;
  for (const TopMenu& top : kTopMenus) {
    if (key->key() != top.key) continue;
    QAction* a = action(top.name);
    if (!a || !a->isEnabled() || !a->isVisible()) return true;
    if (top.command) {
      a->trigger();
      return true;
    }
    menuBar()->setActiveAction(a);
    activateFirstItem(menus_.at(top.name));
    return true;
  }
  return false;
}

bool MainWindow::zoomKey(const QKeyEvent* key) {
  if (!(key->modifiers() & Qt::ControlModifier) || (key->modifiers() & Qt::AltModifier))
    return false;
  switch (key->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      setZoom(zoomPercent_ + kZoomStep);
      return true;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
      setZoom(zoomPercent_ - kZoomStep);
      return true;
    case Qt::Key_0:
    case Qt::Key_ParenRight:
      setZoom(100);
      return true;
    default:
      return false;
  }
}

void MainWindow::setZoom(int percent) {
  zoomPercent_ = std::clamp(percent, kZoomMin, kZoomMax);
  QSettings("Kelpie", "Kelpie").setValue("window/zoom", zoomPercent_);
  layoutControls();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!quitting_) {
    bool ok = false;
    ++depth_;
    ok = s_.Form_Unload();
    --depth_;
    render();
    if (!ok) {
      event->ignore();
      return;
    }
  }
  QSettings settings("Kelpie", "Kelpie");
  settings.setValue("window/geometry", saveGeometry());
  event->accept();
  // The question's own event loop may have handled the window's state; leave no doubt.
  hide();
  emit finished();
}

void MainWindow::restorePlacement() {
  QSettings settings("Kelpie", "Kelpie");
  const QByteArray g = settings.value("window/geometry").toByteArray();
  if (!g.isEmpty()) restoreGeometry(g);
  zoomPercent_ = std::clamp(settings.value("window/zoom", 100).toInt(), kZoomMin, kZoomMax);
  layoutControls();
}

void MainWindow::layoutControls() {
  QWidget* c = centralWidget();
  if (!c) return;
  const double fx = c->width() / static_cast<double>(kClientWidthTwips);
  const double fy = c->height() / static_cast<double>(kClientHeightTwips);
  // Every text grows and shrinks with the window, as the controls do, times the zoom.
  const double dpi = logicalDpiX() > 0 ? logicalDpiX() : 96.0;
  const double scale = std::min(fx, fy) * 1440.0 / dpi * zoomPercent_ / 100.0;
  if (scale > 0.2 && baseFont_.pointSizeF() > 0) {
    QFont f = baseFont_;
    f.setPointSizeF(baseFont_.pointSizeF() * scale);
    c->setFont(f);
    if (s_.view.fixedFont) {
      QFont lf = list_->font();
      lf.setPointSizeF(f.pointSizeF());
      list_->setFont(lf);
    }
  }
  for (const Place& p : kPlaces) {
    auto* w = c->findChild<QWidget*>(p.name);
    if (!w) continue;
    int width = static_cast<int>(p.width * fx + 0.5);
    int height = static_cast<int>(p.height * fy + 0.5);
    // A label or option button whose text is larger than its place (fonts differ from the ones
    // the places were measured with, and the text may be zoomed) grows rather than clip it.
    if (qobject_cast<QLabel*>(w) || qobject_cast<QRadioButton*>(w)) {
      width = std::max(width, w->sizeHint().width());
      height = std::max(height, w->sizeHint().height());
    }
    w->setGeometry(static_cast<int>(p.left * fx + 0.5), static_cast<int>(p.top * fy + 0.5), width,
                   height);
  }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  layoutControls();
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  layoutControls();
  run([this] { s_.Form_Activate(); });
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow())
    run([this] { s_.Form_Activate(); });
}

}  // namespace kelpie
