// The main window, its menu and accelerators, and the board window's
// command handlers for puzzle files, size, help and printing.
#include "app/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QKeySequence>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRandomGenerator>
#include <QSettings>
#include <algorithm>
#include <functional>
#include <iterator>

#include "app/numbloc_app.h"
#include "app/numbloc_doc.h"
#include "core/board/nbl_file.h"
#include "platform/file_dialogs.h"
#include "platform/user_prompts.h"
#include "view/dialogs.h"
#include "view/layout.h"
#include "view/numbloc_view.h"
#include "app/print_job.h"

namespace {

const QString kWindowTitle = QStringLiteral("解答ツール");

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Every user command: its id, its menu text (empty for accelerator-only
// commands), its keys and the prompt of the string table.
struct CommandEntry {
  CommandId id;
  const char* idName;
  const char* text;
  QList<QKeySequence> keys;
  const char* prompt;
};

QList<CommandEntry> CommandTable() {
  using K = QKeySequence;
  return {
      {ID_FILE_OPEN, "ID_FILE_OPEN", "ﾃﾞｰﾀを読み込む(&O)", {K(Qt::CTRL | Qt::Key_O)},
       "既存のﾌｧｲﾙを開く\n開く"},
      {ID_FILE_SAVE_AS, "ID_FILE_SAVE_AS", "ﾃﾞｰﾀを保存する(&A)", {},
       "作業中のﾌｧｲﾙに名前を付けて保存\n名前をつけて保存"},
      {ID_FILE_GENERATE, "ID_FILE_GENERATE", "問題を自動作成(&G)…", {},
       "解が一つだけの新しい問題を作る\n問題を自動作成"},
      {ID_FILE_PRINT, "ID_FILE_PRINT", "印刷(&P)", {K(Qt::CTRL | Qt::Key_P)},
       "作業中のﾌｧｲﾙを印刷\n印刷"},
      {ID_FILE_PRINT_PREVIEW, "ID_FILE_PRINT_PREVIEW", "印刷ﾌﾟﾚﾋﾞｭｰ(&V)", {},
       "ﾌﾙｽｸﾘｰﾝで表示\n印刷ﾌﾟﾚﾋﾞｭｰ"},
      {ID_FILE_PRINT_SETUP, "ID_FILE_PRINT_SETUP", "ﾌﾟﾘﾝﾀの設定(&R)", {},
       "ﾌﾟﾘﾝﾀ/印刷設定の変更\nﾌﾟﾘﾝﾀの設定"},
      {ID_APP_EXIT, "ID_APP_EXIT", "終了(&X)", {},
       "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示\n終了"},
      {ID_CHANGE_SIZE, "ID_CHANGE_SIZE", "ｻｲｽﾞ変更(&S)", {}, ""},
      {ID_ANALYZE_COUNT, "ID_ANALYZE_COUNT", "解の個数を調べる(&C)", {},
       "ヒントから解が一つか、複数か、ないかを調べる\n解の個数"},
      {ID_ANALYZE_SOLVE, "ID_ANALYZE_SOLVE", "完全解答(&S)", {},
       "解が一つのとき盤面を解答で埋める\n完全解答"},
      {ID_ANALYZE_CHECK, "ID_ANALYZE_CHECK", "答え合わせ(&K)", {},
       "入れた数字のうち解と違うものに印を付ける\n答え合わせ"},
      {ID_ANALYZE_HINT, "ID_ANALYZE_HINT", "ヒント(&H)", {K(Qt::CTRL | Qt::Key_H)},
       "正しい数字を一つ入れる\nヒント"},
      {ID_VIEW_WARNINGS, "ID_VIEW_WARNINGS", "ルール違反を表示(&W)", {},
       "大きすぎるブロックと接する同じ数字のブロックに印を付ける\nルール違反を表示"},
      {ID_BOARD_UPPER, "ID_BOARD_UPPER", "上のボタン", {K(Qt::Key_F2)}, ""},
      {ID_BOARD_LOWER, "ID_BOARD_LOWER", "下のボタン", {K(Qt::Key_F3)}, ""},
      {ID_VIEW_ZOOM_IN, "ID_VIEW_ZOOM_IN", "拡大(&I)",
       {K(Qt::CTRL | Qt::Key_Plus), K(Qt::CTRL | Qt::Key_Equal)}, "盤面を大きく表示する\n拡大"},
      {ID_VIEW_ZOOM_OUT, "ID_VIEW_ZOOM_OUT", "縮小(&O)", {K(Qt::CTRL | Qt::Key_Minus)},
       "盤面を小さく表示する\n縮小"},
      {ID_VIEW_ZOOM_RESET, "ID_VIEW_ZOOM_RESET", "等倍(&N)", {K(Qt::CTRL | Qt::Key_0)},
       "盤面を元の大きさで表示する\n等倍"},
      {ID_WORK_CANCEL, "ID_WORK_CANCEL", "中止(&X)", {K(Qt::Key_Escape)},
       "実行中の解答・解析を中止する\n中止"},
      {ID_EDIT_REDO, "ID_EDIT_REDO", "やり直し(&R)",
       {K(Qt::CTRL | Qt::Key_Y), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}, "取り消した手をもう一度行う\nやり直し"},
      {ID_FILE_MRU_FILE1, "ID_FILE_MRU_FILE1", "", {}, ""},
      {ID_FILE_MRU_FILE2, "ID_FILE_MRU_FILE2", "", {}, ""},
      {ID_FILE_MRU_FILE3, "ID_FILE_MRU_FILE3", "", {}, ""},
      {ID_FILE_MRU_FILE4, "ID_FILE_MRU_FILE4", "", {}, ""},
      {ID_HELP_RULES, "ID_HELP_RULES", "ﾙｰﾙ説明(&R)", {}, ""},
      {ID_HELP_CREATE, "ID_HELP_CREATE", "操作説明(作成時)", {}, ""},
      {ID_HELP_SOLVE, "ID_HELP_SOLVE", "操作説明(解答時)", {}, ""},
      {ID_APP_ABOUT, "ID_APP_ABOUT", "ﾊﾞｰｼﾞｮﾝ情報(&V)", {},
       "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nﾊﾞｰｼﾞｮﾝ情報"},
      // Accelerators without a menu item.
      {ID_FILE_NEW, "ID_FILE_NEW", "", {K(Qt::CTRL | Qt::Key_N)}, ""},
      {ID_FILE_SAVE, "ID_FILE_SAVE", "", {K(Qt::CTRL | Qt::Key_S)}, ""},
      {ID_EDIT_UNDO, "ID_EDIT_UNDO", "元に戻す(&U)",
       {K(Qt::CTRL | Qt::Key_Z), K(Qt::ALT | Qt::Key_Backspace)}, "直前の手を取り消す\n元に戻す"},
      {ID_EDIT_CUT, "ID_EDIT_CUT", "", {K(Qt::CTRL | Qt::Key_X), K(Qt::SHIFT | Qt::Key_Delete)}, ""},
      {ID_EDIT_COPY, "ID_EDIT_COPY", "",
       {K(Qt::CTRL | Qt::Key_C), K(Qt::CTRL | Qt::Key_Insert)}, ""},
      {ID_EDIT_PASTE, "ID_EDIT_PASTE", "",
       {K(Qt::CTRL | Qt::Key_V), K(Qt::SHIFT | Qt::Key_Insert)}, ""},
      {ID_NEXT_PANE, "ID_NEXT_PANE", "", {K(Qt::Key_F6)}, ""},
      {ID_PREV_PANE, "ID_PREV_PANE", "", {K(Qt::SHIFT | Qt::Key_F6)}, ""},
  };
}

// The words on an on-board button, for the menu item that presses it.
QString ButtonCaption(numbloc::layout::ButtonPicture picture) {
  using numbloc::layout::ButtonPicture;
  switch (picture) {
    case ButtonPicture::ToSolving: return QStringLiteral("解答モードへ");
    case ButtonPicture::ToCreation: return QStringLiteral("作成モードへ");
    case ButtonPicture::BackToStart: return QStringLiteral("最初に戻る");
    case ButtonPicture::ClearAll: return QStringLiteral("全クリア");
    case ButtonPicture::UndoOne: return QStringLiteral("1つ戻る");
    case ButtonPicture::AutoSolve: return QStringLiteral("自動解答");
  }
  return {};
}

}  // namespace

CMainFrame::CMainFrame(CNumblocApp& app, numbloc::BoardState& state, QPrinter& printer)
    : app_(app), state_(state), printer_(printer) {
  setObjectName(QStringLiteral("IDR_MAINFRAME"));
  doc_ = new CNumblocDoc(this);
  view_ = new CNumblocView(state_, this);
  setCentralWidget(view_);
  CreateCommands();
  CreateMenu();
  UpdateCommandUI();
  SetSavedState();
  connect(view_, &CNumblocView::busyChanged, this, &CMainFrame::UpdateCommandUI);
  connect(view_, &CNumblocView::boardChanged, this, &CMainFrame::UpdateTitle);
  connect(view_, &CNumblocView::boardChanged, this, &CMainFrame::UpdateCommandUI);
  connect(view_, &CNumblocView::puzzleMade, this, &CMainFrame::TakeGeneratedPuzzle);
  UpdateTitle();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::CreateCommands() {
  for (const CommandEntry& entry : CommandTable()) {
    auto* action = new QAction(QString::fromUtf8(entry.text), this);
    action->setObjectName(QString::fromLatin1(entry.idName));
    action->setData(static_cast<int>(entry.id));
    action->setShortcuts(entry.keys);
    action->setShortcutContext(Qt::WindowShortcut);
    const QString prompt = QString::fromUtf8(entry.prompt);
    if (!prompt.isEmpty()) {
      action->setStatusTip(prompt.section(QLatin1Char('\n'), 0, 0));
      action->setToolTip(prompt.section(QLatin1Char('\n'), 1, 1));
    }
    // Accelerators must work without the menu being open.
    addAction(action);
  }

  // Routing: the board window's commands first, then the application's.
  const auto route = [this](const char* idName, std::function<void()> handler) {
    connect(Action(QString::fromLatin1(idName)), &QAction::triggered, this,
            [handler = std::move(handler)] { handler(); });
  };
  route("ID_FILE_OPEN", [this] { OpenPuzzleFile(); });
  route("ID_FILE_SAVE_AS", [this] { SavePuzzleFile(); });
  route("ID_FILE_SAVE", [this] { SaveCurrent(); });
  route("ID_FILE_GENERATE", [this] { OnGenerate(); });
  route("ID_ANALYZE_COUNT", [this] { view_->StartAnalysis(numbloc::JobKind::Count); });
  route("ID_ANALYZE_SOLVE", [this] { view_->StartAnalysis(numbloc::JobKind::CompleteSolve); });
  route("ID_WORK_CANCEL", [this] { view_->CancelWork(); });
  route("ID_ANALYZE_CHECK", [this] { view_->StartAnalysis(numbloc::JobKind::CheckEntries); });
  route("ID_ANALYZE_HINT", [this] { view_->StartAnalysis(numbloc::JobKind::Hint); });
  route("ID_EDIT_UNDO", [this] { view_->Undo(); });
  route("ID_BOARD_UPPER", [this] { view_->PressButton(true); });
  route("ID_BOARD_LOWER", [this] { view_->PressButton(false); });
  route("ID_EDIT_REDO", [this] { view_->Redo(); });
  route("ID_VIEW_ZOOM_IN", [this] { Zoom(1); });
  route("ID_VIEW_ZOOM_OUT", [this] { Zoom(-1); });
  route("ID_VIEW_ZOOM_RESET", [this] { Zoom(0); });
  view_->SetZoom(QSettings().value(QStringLiteral("view/zoom"), 1.0).toDouble());
  QAction* warnings = Action(QStringLiteral("ID_VIEW_WARNINGS"));
  warnings->setCheckable(true);
  warnings->setChecked(QSettings().value(QStringLiteral("view/warnings"), true).toBool());
  view_->SetShowWarnings(warnings->isChecked());
  connect(warnings, &QAction::toggled, this, [this](bool on) {
    view_->SetShowWarnings(on);
    QSettings().setValue(QStringLiteral("view/warnings"), on);
  });
  for (int i = 0; i < numbloc::kRecentFileCount; ++i) {
    const QByteArray name = "ID_FILE_MRU_FILE" + QByteArray::number(i + 1);
    route(name.constData(), [this, i] { OpenRecentFile(i); });
  }
  route("ID_FILE_PRINT", [this] { OnFilePrint(); });
  route("ID_FILE_PRINT_PREVIEW", [this] { OnFilePrintPreview(); });
  route("ID_CHANGE_SIZE", [this] { OnChangeSize(); });
  route("ID_HELP_RULES", [this] { OnHelpRules(); });
  route("ID_HELP_CREATE", [this] { OnHelpCreate(); });
  route("ID_HELP_SOLVE", [this] { OnHelpSolve(); });
  route("ID_FILE_NEW", [this] { app_.OnFileNew(); });
  route("ID_FILE_PRINT_SETUP", [this] { app_.OnFilePrintSetup(); });
  route("ID_APP_ABOUT", [this] { app_.OnAppAbout(); });
  route("ID_APP_EXIT", [this] { close(); });
}

void CMainFrame::CreateMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("IDR_MAINFRAME_MENU"));
  QMenu* file = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
  file->setObjectName(QStringLiteral("menuFile"));
  file->addAction(Action(QStringLiteral("ID_FILE_OPEN")));
  file->addAction(Action(QStringLiteral("ID_FILE_SAVE_AS")));
  file->addSeparator();
  file->addAction(Action(QStringLiteral("ID_FILE_GENERATE")));
  file->addSeparator();
  file->addAction(Action(QStringLiteral("ID_FILE_PRINT")));
  file->addAction(Action(QStringLiteral("ID_FILE_PRINT_PREVIEW")));
  file->addAction(Action(QStringLiteral("ID_FILE_PRINT_SETUP")));
  file->addSeparator();
  for (int i = 1; i <= numbloc::kRecentFileCount; ++i) {
    file->addAction(Action(QStringLiteral("ID_FILE_MRU_FILE%1").arg(i)));
  }
  recentSeparator_ = file->addSeparator();
  file->addAction(Action(QStringLiteral("ID_APP_EXIT")));
  UpdateRecentMenu();

  QMenu* edit = bar->addMenu(QStringLiteral("編集(&E)"));
  edit->setObjectName(QStringLiteral("menuEdit"));
  edit->addAction(Action(QStringLiteral("ID_EDIT_UNDO")));
  edit->addAction(Action(QStringLiteral("ID_EDIT_REDO")));
  edit->addSeparator();
  edit->addAction(Action(QStringLiteral("ID_BOARD_UPPER")));
  edit->addAction(Action(QStringLiteral("ID_BOARD_LOWER")));

  // A command on the menu bar itself, not a pop-up.
  bar->addAction(Action(QStringLiteral("ID_CHANGE_SIZE")));

  QMenu* view = bar->addMenu(QStringLiteral("表示(&V)"));
  view->setObjectName(QStringLiteral("menuView"));
  view->addAction(Action(QStringLiteral("ID_VIEW_ZOOM_IN")));
  view->addAction(Action(QStringLiteral("ID_VIEW_ZOOM_OUT")));
  view->addAction(Action(QStringLiteral("ID_VIEW_ZOOM_RESET")));
  view->addSeparator();
  view->addAction(Action(QStringLiteral("ID_VIEW_WARNINGS")));

  QMenu* analyze = bar->addMenu(QStringLiteral("解析(&A)"));
  analyze->setObjectName(QStringLiteral("menuAnalyze"));
  analyze->addAction(Action(QStringLiteral("ID_ANALYZE_COUNT")));
  analyze->addAction(Action(QStringLiteral("ID_ANALYZE_SOLVE")));
  analyze->addSeparator();
  analyze->addAction(Action(QStringLiteral("ID_ANALYZE_CHECK")));
  analyze->addAction(Action(QStringLiteral("ID_ANALYZE_HINT")));
  analyze->addSeparator();
  analyze->addAction(Action(QStringLiteral("ID_WORK_CANCEL")));

  QMenu* help = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
  help->setObjectName(QStringLiteral("menuHelp"));
  help->addAction(Action(QStringLiteral("ID_HELP_RULES")));
  help->addSeparator();
  help->addAction(Action(QStringLiteral("ID_HELP_CREATE")));
  help->addAction(Action(QStringLiteral("ID_HELP_SOLVE")));
  help->addSeparator();
  help->addAction(Action(QStringLiteral("ID_APP_ABOUT")));
}

QAction* CMainFrame::Action(const QString& idName) const {
  return findChild<QAction*>(idName, Qt::FindDirectChildrenOnly);
}

void CMainFrame::UpdateCommandUI() {
  static const QList<CommandId> kWithoutHandler = {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE,
                                                   ID_NEXT_PANE, ID_PREV_PANE};
  // What may run while a solve does: nothing that reads or changes the board.
  static const QList<CommandId> kWhileBusy = {
      ID_HELP_RULES, ID_HELP_CREATE,  ID_HELP_SOLVE,   ID_APP_ABOUT,       ID_APP_EXIT,
      ID_WORK_CANCEL, ID_VIEW_WARNINGS, ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT, ID_VIEW_ZOOM_RESET};
  const bool busy = view_->Busy();
  const bool solving = state_.Mode == numbloc::SolveStart || state_.Mode == numbloc::SolvePlayed;
  const QStringList recent = app_.RecentFiles().Files();
  for (QAction* action : actions()) {
    if (!action->data().isValid()) continue;
    const auto id = static_cast<CommandId>(action->data().toInt());
    bool enabled = !kWithoutHandler.contains(id);
    if (busy) enabled = enabled && kWhileBusy.contains(id);
    if (id == ID_WORK_CANCEL) enabled = busy;
    if (id == ID_EDIT_UNDO) enabled = view_->CanUndo();
    if (id == ID_EDIT_REDO) enabled = view_->CanRedo();
    if (id == ID_ANALYZE_CHECK || id == ID_ANALYZE_HINT) enabled = enabled && solving;
    if (id == ID_BOARD_UPPER || id == ID_BOARD_LOWER) {
      // The menu names the button the board shows now.
      numbloc::layout::ButtonPicture lower, upper;
      const bool shown = numbloc::layout::ButtonsForMode(state_.Mode, &lower, &upper);
      enabled = enabled && shown;
      if (shown) action->setText(ButtonCaption(id == ID_BOARD_UPPER ? upper : lower));
    }
    if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE4) {
      enabled = enabled && id - ID_FILE_MRU_FILE1 < recent.size();
    }
    action->setEnabled(enabled);
  }
}

void CMainFrame::OpenPuzzleFile() {
  if (!SaveModified()) return;
  const std::optional<QString> path = numbloc::CurrentFileDialogs().OpenPath(this);
  if (!path) return;
  OpenPuzzlePath(*path);
}

void CMainFrame::OpenRecentFile(int index) {
  const QStringList files = app_.RecentFiles().Files();
  if (index < 0 || index >= files.size()) return;
  if (!SaveModified()) return;
  OpenPuzzlePath(files[index]);
}

bool CMainFrame::OpenPuzzlePath(const QString& path) {
  const numbloc::NblResult result = numbloc::ReadNblFile(LocalPath(path), state_);
  if (result.ok) {
    currentPath_ = path;
    SetSavedState();
    app_.RecentFiles().Add(path);
    UpdateRecentMenu();
  } else {
    // The status line is the only report of a failed read.
    state_.SolverStatus = numbloc::kStatusUnreadable;
  }
  view_->BoardReplaced();
  UpdateTitle();
  return result.ok;
}

void CMainFrame::OnGenerate() {
  if (view_->Busy()) return;
  CGenerateDlg dlg(this);
  if (dlg.exec() != QDialog::Accepted) return;
  dlg.Remember();
  if (!SaveModified()) return;
  numbloc::complete::GenerateOptions options = dlg.Options();
  // A fresh puzzle each time; the status line names the seed, so that
  // numbloc-cli generate can make the same one again.
  options.seed = QRandomGenerator::global()->bounded(1u, 1000000000u);
  options.index = 1;  // the first puzzle of "--seed S"
  options.timeBudgetSeconds = 600;
  view_->StartGenerate(options);
}

// The new puzzle belongs to no file and is not saved yet.
void CMainFrame::TakeGeneratedPuzzle() {
  currentPath_.clear();
  saved_.clear();
  UpdateTitle();
  UpdateCommandUI();
}

bool CMainFrame::SavePuzzleFile() {
  const std::optional<QString> path = numbloc::CurrentFileDialogs().SavePath(this);
  if (!path) return false;
  return SavePuzzlePath(*path);
}

bool CMainFrame::SaveCurrent() {
  if (currentPath_.isEmpty()) return SavePuzzleFile();
  return SavePuzzlePath(currentPath_);
}

bool CMainFrame::SavePuzzlePath(const QString& path) {
  const numbloc::NblResult result = numbloc::WriteNblFile(LocalPath(path), state_);
  if (result.ok) {
    currentPath_ = path;
    SetSavedState();
    app_.RecentFiles().Add(path);
    UpdateRecentMenu();
  } else {
    numbloc::CurrentPrompts().ShowError(
        this, QStringLiteral("ﾃﾞｰﾀを保存できませんでした。\n%1\n%2")
                  .arg(QDir::toNativeSeparators(path), QString::fromStdString(result.reason)));
  }
  view_->RepaintAll();
  UpdateTitle();
  return result.ok;
}

// Zoom steps between 1x and 3x; the choice is kept for the next start.
void CMainFrame::Zoom(int steps) {
  static const double kSteps[] = {1.0, 1.25, 1.5, 2.0, 2.5, 3.0};
  const int count = static_cast<int>(std::size(kSteps));
  int at = 0;
  while (at + 1 < count && kSteps[at + 1] <= view_->Zoom() + 1e-9) ++at;
  at = steps == 0 ? 0 : std::clamp(at + steps, 0, count - 1);
  view_->SetZoom(kSteps[at]);
  QSettings().setValue(QStringLiteral("view/zoom"), kSteps[at]);
}

// The recent files under the file menu, numbered, most recent first; the
// items without a file are hidden.
void CMainFrame::UpdateRecentMenu() {
  const QStringList files = app_.RecentFiles().Files();
  for (int i = 0; i < numbloc::kRecentFileCount; ++i) {
    QAction* action = Action(QStringLiteral("ID_FILE_MRU_FILE%1").arg(i + 1));
    if (!action) continue;
    const bool used = i < files.size();
    action->setVisible(used);
    if (!used) continue;
    action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(files[i]).fileName()));
    action->setStatusTip(QDir::toNativeSeparators(files[i]));
  }
  if (recentSeparator_) recentSeparator_->setVisible(!files.isEmpty());
  UpdateCommandUI();
}

// "name[*] - 解答ツール": the file's name (the document's while there is
// none), and the modified mark while there is unsaved work.
void CMainFrame::UpdateTitle() {
  const QString name =
      currentPath_.isEmpty() ? doc_->Title() : QFileInfo(currentPath_).fileName();
  setWindowTitle(name + QStringLiteral("[*] - ") + kWindowTitle);
  setWindowModified(IsModified());
}

void CMainFrame::OnChangeSize() {
  CSizeDlg dlg(this);
  dlg.m_nWidth = state_.BoardWidth;
  dlg.m_nHeight = state_.BoardHeight;
  if (dlg.exec() != QDialog::Accepted) return;
  state_.BoardWidth = static_cast<std::uint8_t>(dlg.m_nWidth);
  state_.BoardHeight = static_cast<std::uint8_t>(dlg.m_nHeight);
  state_.BoardReady = 0;
  view_->BoardReplaced();
  UpdateTitle();
}

void CMainFrame::OnHelpRules() {
  CRulesDlg dlg(this);
  dlg.exec();
}

void CMainFrame::OnHelpCreate() {
  CCreateHelpDlg dlg(this);
  dlg.exec();
}

void CMainFrame::OnHelpSolve() {
  CSolveHelpDlg dlg(this);
  dlg.exec();
}

bool CMainFrame::OnPreparePrinting() {
  QPrintDialog dialog(&printer_, this);
  // One page and nothing to select: the dialog offers only the printer.
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setMinMax(1, 1);
  return dialog.exec() == QDialog::Accepted;
}

void CMainFrame::OnFilePrint() {
  if (!OnPreparePrinting()) return;
  QPainter painter;
  if (!painter.begin(&printer_)) {
    numbloc::CurrentPrompts().ShowError(this, QStringLiteral("印刷を開始できませんでした。"));
    return;
  }
  numbloc::PrintToPrinter(state_, printer_, painter);
  painter.end();
}

void CMainFrame::OnFilePrintPreview() {
  QPrintPreviewDialog preview(&printer_, this);
  preview.setWindowTitle(windowTitle());
  connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
    QPainter painter(printer);
    numbloc::PrintToPrinter(state_, *printer, painter);
  });
  preview.exec();
}

std::vector<std::uint8_t> CMainFrame::ComparableBytes() const {
  // The number chosen on the bar and the status message are not work worth
  // keeping: leave them out of the comparison.
  numbloc::BoardState copy = state_;
  copy.SelectedNumber = 1;
  copy.SolverStatus = numbloc::kStatusOk;
  return numbloc::WriteNblBytes(copy);
}

void CMainFrame::SetSavedState() {
  if (state_.BoardReady == 0) {
    // Before the first repaint the board is not yet made: what the user
    // first sees is the reset board of the current size.
    numbloc::BoardState start = state_;
    start.ResetBoard();
    start.SelectedNumber = 1;
    start.SolverStatus = numbloc::kStatusOk;
    saved_ = numbloc::WriteNblBytes(start);
    return;
  }
  saved_ = ComparableBytes();
}

bool CMainFrame::IsModified() const {
  if (state_.BoardReady == 0) return false;  // the next repaint empties the board
  bool anyNumber = false;
  for (int x = 1; x <= state_.BoardWidth && x < numbloc::kBoardColumns - 1 && !anyNumber; ++x)
    for (int y = 1; y <= state_.BoardHeight && y < numbloc::kBoardRows - 1; ++y)
      if (state_.Board[x][y].number != 0) {
        anyNumber = true;
        break;
      }
  // An empty board holds no work, whatever its size or mode.
  if (!anyNumber) return false;
  return ComparableBytes() != saved_;
}

bool CMainFrame::SaveModified() {
  if (!IsModified()) return true;
  switch (numbloc::CurrentPrompts().AskSaveChanges(
      this, QStringLiteral("盤面が変更されています。保存しますか？"))) {
    case numbloc::SaveChoice::Save:
      return SaveCurrent();
    case numbloc::SaveChoice::Discard:
      return true;
    case numbloc::SaveChoice::Cancel:
      return false;
  }
  return false;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // A running solve stops first, leaving the board as it was.
  view_->StopWork();
  if (SaveModified())
    event->accept();
  else
    event->ignore();
}
