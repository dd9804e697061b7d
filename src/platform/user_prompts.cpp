// Message boxes on QMessageBox.
#include "platform/user_prompts.h"

#include <QMessageBox>

namespace numbloc {
namespace {

class MessageBoxPrompts : public UserPrompts {
 public:
  void ShowError(QWidget* parent, const QString& text) override {
    QMessageBox::critical(parent, PromptCaption(), text);
  }
  void ShowWarning(QWidget* parent, const QString& text) override {
    QMessageBox::warning(parent, PromptCaption(), text);
  }
  SaveChoice AskSaveChanges(QWidget* parent, const QString& text) override {
    const auto answer = QMessageBox::question(
        parent, PromptCaption(), text,
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) return SaveChoice::Save;
    if (answer == QMessageBox::Discard) return SaveChoice::Discard;
    return SaveChoice::Cancel;
  }
};

MessageBoxPrompts g_standard;
UserPrompts* g_current = &g_standard;

}  // namespace

QString PromptCaption() { return QStringLiteral("numbloc"); }

UserPrompts& CurrentPrompts() { return *g_current; }

void SetPrompts(UserPrompts* prompts) { g_current = prompts ? prompts : &g_standard; }

}  // namespace numbloc
