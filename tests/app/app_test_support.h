// Test doubles for the platform's file dialogs and message boxes, the shown
// main window, and small board helpers shared by the shell's tests.
#pragma once

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

#include "app/main_frame.h"
#include "app/numbloc_app.h"
#include "core/board/board_state.h"
#include "core/board/nbl_file.h"
#include "platform/file_dialogs.h"
#include "platform/user_prompts.h"
#include "view/numbloc_view.h"

// Stands in for the dialogs and prompts for the life of one test: the file
// dialogs hand out prepared paths in turn (none left means Cancel), the
// prompts record their texts and give the set answer. The settings are kept
// in a temporary folder.
struct Doubles : numbloc::FileDialogs, numbloc::UserPrompts {
  Doubles() {
    numbloc::SetFileDialogs(this);
    numbloc::SetPrompts(this);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  }
  ~Doubles() override {
    numbloc::SetFileDialogs(nullptr);
    numbloc::SetPrompts(nullptr);
  }
  std::optional<QString> OpenPath(QWidget*) override { return Next(openPaths, openCalls); }
  std::optional<QString> SavePath(QWidget*) override { return Next(savePaths, saveCalls); }
  void ShowError(QWidget*, const QString& text) override { errors.append(text); }
  void ShowWarning(QWidget*, const QString& text) override { warnings.append(text); }
  numbloc::SaveChoice AskSaveChanges(QWidget*, const QString& text) override {
    questions.append(text);
    return answer;
  }
  static std::optional<QString> Next(QStringList& paths, int& calls) {
    ++calls;
    if (paths.isEmpty()) return std::nullopt;
    return paths.takeFirst();
  }

  QStringList openPaths, savePaths, errors, warnings, questions;
  int openCalls = 0, saveCalls = 0;
  numbloc::SaveChoice answer = numbloc::SaveChoice::Cancel;
  QTemporaryDir settingsDir;
};

// The main window shown and active with its first repaint done; `files`
// stands for the command line. Check `shown` before anything else.
struct Shell : Doubles {
  explicit Shell(const QStringList& files = {}) {
    app.InitInstance(files);
    frame = app.MainFrame();
    frame->activateWindow();
    shown = QTest::qWaitForWindowActive(frame);
    Repaint();
  }
  void Repaint() { frame->View()->viewport()->grab(); }

  CNumblocApp app;
  numbloc::BoardState& state = app.State();
  CMainFrame* frame = nullptr;
  bool shown = false;
};

// Runs `action` on the next modal dialog once it is shown.
inline void WhenModalShown(std::function<void(QWidget*)> action, int attempt = 0) {
  QTimer::singleShot(10, [action, attempt] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
      action(modal);
    } else if (attempt < 300) {
      WhenModalShown(action, attempt + 1);
    }
  });
}

inline numbloc::BoardState Board(int width, int height) {
  numbloc::BoardState state;
  state.BoardWidth = static_cast<std::uint8_t>(width);
  state.BoardHeight = static_cast<std::uint8_t>(height);
  state.ResetBoard();
  return state;
}

// Places numbers on the board from rows of text: '.' empty, 1-9 hints.
inline void PlaceHints(numbloc::BoardState& state, std::initializer_list<const char*> rows) {
  int y = 1;
  for (const char* row : rows) {
    for (int x = 1; row[x - 1] != '\0'; ++x)
      if (row[x - 1] != '.') state.Board[x][y].number = static_cast<std::uint8_t>(row[x - 1] - '0');
    ++y;
  }
}

inline std::vector<std::uint8_t> Bytes(const numbloc::BoardState& state) {
  return numbloc::WriteNblBytes(state);
}

// Writes a puzzle file and gives back its path.
inline QString WriteNbl(const QString& path, const numbloc::BoardState& state) {
  if (!numbloc::WriteNblFile(QFile::encodeName(path).toStdString(), state).ok)
    qFatal("cannot write %s", qPrintable(path));
  return path;
}
