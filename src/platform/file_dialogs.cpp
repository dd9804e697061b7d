// Standard puzzle file dialogs on QFileDialog.
#include "platform/file_dialogs.h"

#include <QFileDialog>

namespace numbloc {
namespace {

std::optional<QString> RunDialog(QWidget* parent, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(mode);
  // Opening accepts any typed name as well: a name that does not exist is
  // reported by the reader on the status line, like any unreadable file.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QString::fromLatin1(kPuzzleFilter));
  dialog.setDefaultSuffix(QString::fromLatin1(kPuzzleSuffix));
  dialog.setOption(QFileDialog::ReadOnly, false);
  dialog.setWindowTitle(mode == QFileDialog::AcceptOpen ? QStringLiteral("開く")
                                                        : QStringLiteral("名前を付けて保存"));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.first().isEmpty()) return std::nullopt;
  return files.first();
}

class StandardFileDialogs : public FileDialogs {
 public:
  std::optional<QString> OpenPath(QWidget* parent) override {
    return RunDialog(parent, QFileDialog::AcceptOpen);
  }
  std::optional<QString> SavePath(QWidget* parent) override {
    return RunDialog(parent, QFileDialog::AcceptSave);
  }
};

StandardFileDialogs g_standard;
FileDialogs* g_current = &g_standard;

}  // namespace

FileDialogs& CurrentFileDialogs() { return *g_current; }

void SetFileDialogs(FileDialogs* dialogs) { g_current = dialogs ? dialogs : &g_standard; }

}  // namespace numbloc
