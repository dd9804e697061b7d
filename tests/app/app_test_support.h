// Test doubles for the platform's file dialogs and message boxes, and small
// helpers shared by the shell's tests.
#pragma once

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

#include "app/numbloc_app.h"
#include "core/board/board_state.h"
#include "platform/file_dialogs.h"
#include "platform/user_prompts.h"

// Hands out prepared paths in turn; an exhausted list means Cancel.
class ScriptedFileDialogs : public numbloc::FileDialogs {
 public:
  std::optional<QString> OpenPath(QWidget*) override {
    ++openCalls;
    if (openPaths.isEmpty()) return std::nullopt;
    return openPaths.takeFirst();
  }
  std::optional<QString> SavePath(QWidget*) override {
    ++saveCalls;
    if (savePaths.isEmpty()) return std::nullopt;
    return savePaths.takeFirst();
  }

  QStringList openPaths;
  QStringList savePaths;
  int openCalls = 0;
  int saveCalls = 0;
};

// Records what would have been shown and answers the save question.
class RecordingPrompts : public numbloc::UserPrompts {
 public:
  void ShowError(QWidget*, const QString& text) override { errors.append(text); }
  void ShowWarning(QWidget* parent, const QString& text) override {
    warnings.append(text);
    if (onWarning) onWarning(parent);
  }
  numbloc::SaveChoice AskSaveChanges(QWidget*, const QString& text) override {
    questions.append(text);
    return answer;
  }

  QStringList errors;
  QStringList warnings;
  QStringList questions;
  numbloc::SaveChoice answer = numbloc::SaveChoice::Cancel;
  std::function<void(QWidget*)> onWarning;
};

// Installs both doubles for the life of one test and keeps the settings in a
// temporary folder.
struct ShellDoubles {
  ShellDoubles() {
    numbloc::SetFileDialogs(&dialogs);
    numbloc::SetPrompts(&prompts);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  }
  ~ShellDoubles() {
    numbloc::SetFileDialogs(nullptr);
    numbloc::SetPrompts(nullptr);
  }
  ScriptedFileDialogs dialogs;
  RecordingPrompts prompts;
  QTemporaryDir settingsDir;
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

// Places hint numbers on the board from rows of text: '.' empty, 1-9 hints.
inline void PlaceHints(numbloc::BoardState& state, std::initializer_list<const char*> rows) {
  int y = 1;
  for (const char* row : rows) {
    for (int x = 1; row[x - 1] != '\0'; ++x)
      if (row[x - 1] != '.') state.Board[x][y].number = static_cast<std::uint8_t>(row[x - 1] - '0');
    ++y;
  }
}
