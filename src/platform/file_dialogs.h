// The puzzle file dialogs behind one replaceable interface, so that the menu
// commands can be driven without a person choosing files.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace numbloc {

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The path chosen to read a puzzle from, or nothing when cancelled.
  virtual std::optional<QString> OpenPath(QWidget* parent) = 0;
  // The path chosen to write a puzzle to, or nothing when cancelled. The
  // standard dialog has already asked before an existing file is replaced.
  virtual std::optional<QString> SavePath(QWidget* parent) = 0;
};

// The one filter and suffix of puzzle files.
inline constexpr const char* kPuzzleFilter = "Data Files (*.nbl)";
inline constexpr const char* kPuzzleSuffix = "nbl";

// The dialogs in force: the standard ones unless a replacement was installed.
FileDialogs& CurrentFileDialogs();

// Installs a replacement (not owned); nullptr brings back the standard dialogs.
void SetFileDialogs(FileDialogs* dialogs);

}  // namespace numbloc
