// Doubles for file dialogs and message boxes, the shown main window, small board helpers.
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

#include "../view/board_picture.h"
#include "app/main_frame.h"
#include "app/numbloc_app.h"
#include "core/board/board_state.h"
#include "core/board/nbl_file.h"
#include "platform/file_dialogs.h"
#include "platform/user_prompts.h"
#include "view/numbloc_view.h"

// For one test: file dialogs hand out prepared paths in turn (none left: Cancel), prompts
// record their texts and give the set answer; settings go to a temporary folder.
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
    return paths.isEmpty() ? std::nullopt : std::optional(paths.takeFirst());
  }

  QStringList openPaths, savePaths, errors, warnings, questions;
  int openCalls = 0, saveCalls = 0;
  numbloc::SaveChoice answer = numbloc::SaveChoice::Cancel;
  QTemporaryDir settingsDir;
};

// The main window shown, active (or the test fails) and repainted; `files`: the command line.
struct Shell : Doubles {
  explicit Shell(const QStringList& files = {}) {
    app.InitInstance(files);
    frame = app.MainFrame();
    frame->activateWindow();
    const bool shown = QTest::qWaitForWindowActive(frame);
    Repaint();
    QVERIFY2(shown, "the main window did not become active");
  }
  void Repaint() { frame->View()->viewport()->grab(); }

  CNumblocApp app;
  numbloc::BoardState& state = app.State();
  CMainFrame* frame = nullptr;
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

// A board whose first rows are `top` in the picture notation (view/board_picture.h).
inline numbloc::BoardState Board(int width, int height, std::vector<std::string> top = {}) {
  numbloc::BoardState state;
  numbloc::testing::FillFromPicture(state, numbloc::testing::Picture(width, height, std::move(top)));
  return state;
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
