// Message boxes the program shows, behind one replaceable interface so that
// tests can see what was said and answer questions.
#pragma once

#include <QString>

class QWidget;

namespace numbloc {

enum class SaveChoice { Save, Discard, Cancel };

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  // A failure the user must acknowledge.
  virtual void ShowError(QWidget* parent, const QString& text) = 0;
  // A refused entry in a dialog field.
  virtual void ShowWarning(QWidget* parent, const QString& text) = 0;
  // Whether to save unsaved work before it is thrown away.
  virtual SaveChoice AskSaveChanges(QWidget* parent, const QString& text) = 0;
};

// Caption of the program's message boxes.
QString PromptCaption();

UserPrompts& CurrentPrompts();

// Installs a replacement (not owned); nullptr brings back the message boxes.
void SetPrompts(UserPrompts* prompts);

}  // namespace numbloc
