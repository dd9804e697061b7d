// The main window: menu, accelerators and the routing of every command to
// the board window's handlers or the application's.
#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <vector>

#include "core/board/board_state.h"

class CNumblocApp;
class CNumblocDoc;
class CNumblocView;
class QAction;
class QCloseEvent;
class QPrinter;

// Command ids, kept as the actions' object names.
enum CommandId : int {
  ID_CHANGE_SIZE = 32771,
  ID_HELP_RULES = 32772,
  ID_HELP_CREATE = 32773,
  ID_HELP_SOLVE = 32774,
  ID_ANALYZE_COUNT = 32775,
  ID_ANALYZE_SOLVE = 32776,
  ID_WORK_CANCEL = 32777,
  ID_ANALYZE_CHECK = 32778,
  ID_ANALYZE_HINT = 32779,
  ID_VIEW_WARNINGS = 32780,
  ID_VIEW_ZOOM_IN = 32781,
  ID_VIEW_ZOOM_OUT = 32782,
  ID_VIEW_ZOOM_RESET = 32783,
  ID_BOARD_UPPER = 32784,
  ID_BOARD_LOWER = 32785,
  ID_FILE_GENERATE = 32786,
  ID_FILE_NEW = 57600,
  ID_FILE_OPEN = 57601,
  ID_FILE_SAVE = 57603,
  ID_FILE_SAVE_AS = 57604,
  ID_FILE_PRINT_SETUP = 57606,
  ID_FILE_PRINT = 57607,
  ID_FILE_PRINT_DIRECT = 57608,
  ID_FILE_PRINT_PREVIEW = 57609,
  ID_FILE_MRU_FILE1 = 57616,
  ID_FILE_MRU_FILE2 = 57617,
  ID_FILE_MRU_FILE3 = 57618,
  ID_FILE_MRU_FILE4 = 57619,
  ID_EDIT_COPY = 57634,
  ID_EDIT_CUT = 57635,
  ID_EDIT_PASTE = 57637,
  ID_EDIT_UNDO = 57643,
  ID_EDIT_REDO = 57644,
  ID_APP_ABOUT = 57664,
  ID_APP_EXIT = 57665,
  ID_NEXT_PANE = 57680,
  ID_PREV_PANE = 57681,
};

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  CMainFrame(CNumblocApp& app, numbloc::BoardState& state, QPrinter& printer);
  ~CMainFrame() override;

  CNumblocView* View() const { return view_; }
  CNumblocDoc* Document() const { return doc_; }

  // The action of a command (its object name is the command's id name, for
  // example "ID_FILE_OPEN"), or nullptr.
  QAction* Action(const QString& idName) const;

  // Sets every command's enabled state, in this one place: commands with a
  // handler are enabled, the accelerators without one are disabled and do
  // nothing; while a solve runs, only the commands that cannot touch the
  // board (help, exit, cancel) stay enabled.
  void UpdateCommandUI();

  // The puzzle file commands of the board window. OpenPuzzleFile asks about
  // unsaved work first; the path variants skip every dialog; all report
  // failures as the menu commands do.
  void OpenPuzzleFile();
  bool OpenPuzzlePath(const QString& path);
  bool SavePuzzleFile();  // 名前を付けて保存: always the dialog
  bool SaveCurrent();     // Ctrl+S: the current file, the dialog only without one
  bool SavePuzzlePath(const QString& path);
  void OpenRecentFile(int index);
  // 問題を自動作成: the dialog, then (unsaved work dealt with) a new puzzle
  // made in the background, opened as unsaved work without a file.
  void OnGenerate();
  // The file the board was last opened from or saved to; empty when none.
  QString CurrentPath() const { return currentPath_; }

  // The size and help commands of the board window.
  void OnChangeSize();
  void OnHelpRules();
  void OnHelpCreate();
  void OnHelpSolve();

  // Printing: the print dialog, then the page; the preview window.
  bool OnPreparePrinting();
  void OnFilePrint();
  void OnFilePrintPreview();

  // Whether the board differs from what was last opened or saved in a way
  // worth keeping; the close prompt asks only then.
  bool IsModified() const;
  // Takes the current board as the saved state.
  void SetSavedState();

  // Asks before unsaved work is thrown away: true when the caller may go on.
  bool SaveModified();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateCommands();
  void CreateMenu();
  void UpdateRecentMenu();
  void Zoom(int steps);  // +1 a step larger, -1 smaller, 0 back to 1x
  void UpdateTitle();
  void TakeGeneratedPuzzle();
  std::vector<std::uint8_t> ComparableBytes() const;

  CNumblocApp& app_;
  numbloc::BoardState& state_;
  QPrinter& printer_;
  CNumblocDoc* doc_ = nullptr;
  CNumblocView* view_ = nullptr;
  std::vector<std::uint8_t> saved_;
  QString currentPath_;  // the file of the board, empty when it has none
  QAction* recentSeparator_ = nullptr;  // below the recent files; hidden without them
};
