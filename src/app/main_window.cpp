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
#include <QShortcut>

#include "dialogs/frm_about.h"
#include "dialogs/frm_web_path.h"
#include "dialogs/kelpie_icon.h"
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

int vbKeyCode(const QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Escape:
      return kKeyEsc;
    case Qt::Key_Space:
      return kKeySpace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kKeyEnter;
    default:
      break;
  }
  if (e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z) return 'A' + (e->key() - Qt::Key_A);
  if (e->key() >= Qt::Key_0 && e->key() <= Qt::Key_9) return '0' + (e->key() - Qt::Key_0);
  return e->key() & 0xFFFF;
}

int vbShift(const QKeyEvent* e) {
  int s = 0;
  if (e->modifiers() & Qt::ShiftModifier) s |= 1;
  if (e->modifiers() & Qt::ControlModifier) s |= 2;
  if (e->modifiers() & Qt::AltModifier) s |= 4;
  return s;
}
}  // namespace

// ---- the list ----------------------------------------------------------------------------

void CheckInsList::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    emit mouseDown(2, e->globalPosition().toPoint());
    e->accept();
    return;
  }
  QListWidget::mousePressEvent(e);
  emit mouseDown(e->button() == Qt::LeftButton ? 1 : 4, e->globalPosition().toPoint());
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
  emit mouseDown(2, e->globalPos());
}

// ---- the window ----------------------------------------------------------------------------

MainWindow::MainWindow(Session& session, QWidget* parent) : QMainWindow(parent), s_(session) {
  setObjectName("frmKelpie");
  setWindowIcon(kelpieIcon());
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
  label1_->setAutoFillBackground(true);
  label1_->setStyleSheet("background-color: rgb(192,255,192);");
  command2_ = new QPushButton(c);
  command2_->setObjectName("Command2");
  label2_ = new QLabel(c);
  label2_->setObjectName("Label2");
  entry_ = new QLineEdit(c);
  entry_->setObjectName("CallSignInput");
  entry_->setToolTip("Call or function number");
  list_ = new CheckInsList(c);
  list_->setObjectName("CheckIns");
  list_->setStyleSheet("QListWidget#CheckIns { background-color: rgb(255,255,192); }");
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  label3_ = new QLabel(c);
  label3_->setObjectName("Label3");
  label3_->setAutoFillBackground(true);
  label3_->setStyleSheet("background-color: rgb(192,255,192);");
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
  connect(list_, &QListWidget::currentRowChanged, this, [this](int) {
    if (rendering_) return;
    run([this] { s_.CheckIns_Click(); });
  });
  connect(list_, &CheckInsList::mouseDown, this, [this](int button, QPoint at) {
    bool popup = false;
    run([&] { popup = s_.CheckIns_MouseDown(button); });
    if (popup) popup_->popup(at);
  });
  layoutControls();
}

void MainWindow::buildMenus() {
  QMenu* current = nullptr;
  const std::map<std::string, char> accessKeys{{"mFile", 'F'},    {"mEdit", 'E'},    {"mView", 'V'},
                                               {"mainHelp", 'H'}, {"mOptions", 'O'}, {"mSet", 'S'},
                                               {"mTools", 'T'}};
  for (const auto& [name, item] : initialMenuItems()) {
    const bool topLevel = name == "mFile" || name == "mEdit" || name == "mView" ||
                          name == "mainHelp" || name == "mOptions" || name == "mSet" ||
                          name == "mTools";
    if (topLevel) {
      current = menuBar()->addMenu(actionText(item.caption));
      current->setObjectName(QString::fromStdString(name));
      current->menuAction()->setObjectName(QString::fromStdString(name));
      menus_[name] = current;
      actions_[name] = current->menuAction();
      // Alt and the first letter opens the menu; the caption itself stays as it is.
      auto* sc = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(accessKeys.at(name))), this);
      QMenu* m = current;
      connect(sc, &QShortcut::activated, this,
              [this, m] { menuBar()->setActiveAction(m->menuAction()); });
      continue;
    }
    if (name == "mwriteLogFile") {
      QAction* a = menuBar()->addAction(actionText(item.caption));
      a->setObjectName("mwriteLogFile");
      actions_[name] = a;
      connect(a, &QAction::triggered, this, [this] { dispatch("mwriteLogFile"); });
      auto* sc = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_W), this);
      connect(sc, &QShortcut::activated, a, &QAction::trigger);
      current = nullptr;
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
  const QString entryText = fromBytes(v.entryText);
  if (entry_->text() != entryText) entry_->setText(entryText);
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
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
    return QMainWindow::eventFilter(watched, event);
  auto* w = qobject_cast<QWidget*>(watched);
  // Keys are previewed only for the main window itself, never for its dialogs or menus.
  if (!w || w->window() != this || QApplication::activeModalWidget() ||
      QApplication::activePopupWidget())
    return QMainWindow::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (event->type() == QEvent::ShortcutOverride) {
    // Space and Enter belong to the window's own key handling, never to a shortcut.
    return false;
  }
  // A key event travels up from the focused widget; preview it once, at the focus.
  if (w != QApplication::focusWidget() && QApplication::focusWidget() &&
      QApplication::focusWidget()->window() == this)
    return false;
  const int code = vbKeyCode(key);
  run([&] { s_.Form_KeyDown(code, vbShift(key)); });
  if (code == kKeySpace) return true;  // a callsign never holds a space
  if (code == kKeyEnter && watched == entry_) {
    run([&] {
      int k = kKeyEnter;
      s_.CallSignInput_KeyPress(k);
    });
    return true;
  }
  return false;
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
}

void MainWindow::layoutControls() {
  QWidget* c = centralWidget();
  if (!c) return;
  const double fx = c->width() / static_cast<double>(kClientWidthTwips);
  const double fy = c->height() / static_cast<double>(kClientHeightTwips);
  for (const Place& p : kPlaces) {
    auto* w = c->findChild<QWidget*>(p.name);
    if (!w) continue;
    int width = static_cast<int>(p.width * fx + 0.5);
    // A label or option button whose text is wider than its place (fonts differ from the ones
    // the places were measured with) grows to the right rather than clip its last characters.
    if (qobject_cast<QLabel*>(w) || qobject_cast<QRadioButton*>(w))
      width = std::max(width, w->sizeHint().width());
    w->setGeometry(static_cast<int>(p.left * fx + 0.5), static_cast<int>(p.top * fy + 0.5), width,
                   static_cast<int>(p.height * fy + 0.5));
  }
  // Fonts grow and shrink with the window, as the controls do.
  const double dpi = logicalDpiX() > 0 ? logicalDpiX() : 96.0;
  const double scale = std::min(fx, fy) * 1440.0 / dpi;
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
