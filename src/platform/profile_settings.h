// The program's profile settings in the platform's settings store: only the
// list of recently used puzzle files, which the menu does not show.
#pragma once

#include <QString>
#include <QStringList>

namespace numbloc {

constexpr int kRecentFileCount = 4;

class RecentFileList {
 public:
  explicit RecentFileList(int size = kRecentFileCount);

  // Files, most recent first, as stored.
  QStringList Files() const;

  // Moves `path` to the front (adding it if new), drops what falls off the
  // end, and writes the list back.
  void Add(const QString& path);

 private:
  int size_;
};

}  // namespace numbloc
