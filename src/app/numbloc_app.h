// The application object: start-up, the one board state, the printer
// settings shared by print, preview and printer setup, and the commands that
// belong to the application (new document, printer setup, about box).
#pragma once

#include <QObject>
#include <QPrinter>
#include <QStringList>
#include <memory>

#include "core/board/board_state.h"
#include "platform/profile_settings.h"

class CMainFrame;
class QApplication;

class CNumblocApp : public QObject {
  Q_OBJECT

 public:
  CNumblocApp();
  ~CNumblocApp() override;

  // Names, version, translations, fonts and icon of the process; call once
  // the QApplication exists.
  static void SetUpProcess(QApplication& application);

  // Creates and shows the main window; a file named on the command line is
  // loaded through the puzzle reader. False when the program should end.
  bool InitInstance(const QStringList& files = {});

  // Without a window: loads `file` (or takes the empty start board), writes
  // the printed page as PDF to `out`. Returns the exit code; on failure the
  // reason goes to `error`.
  static int PrintHeadless(const QString& out, const QString& file, QString* error);

  CMainFrame* MainFrame() const { return frame_.get(); }
  numbloc::BoardState& State() { return state_; }
  QPrinter& Printer() { return printer_; }
  numbloc::RecentFileList& RecentFiles() { return recent_; }

  void OnFileNew();
  void OnFilePrintSetup();
  void OnAppAbout();

 private:
  numbloc::BoardState state_;
  QPrinter printer_;
  numbloc::RecentFileList recent_;
  std::unique_ptr<CMainFrame> frame_;
};

// The program's version, as `numbloc --version` shows it.
inline constexpr const char* kNumblocVersion = "1.0.0.1";
