// Recent-file list kept with QSettings under the application's name.
#include "platform/profile_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace numbloc {
namespace {
const QString kGroup = QStringLiteral("Recent File List");
QString Key(int i) { return QStringLiteral("File%1").arg(i + 1); }
}  // namespace

RecentFileList::RecentFileList(int size) : size_(size) {}

QStringList RecentFileList::Files() const {
  QSettings settings;
  settings.beginGroup(kGroup);
  QStringList files;
  for (int i = 0; i < size_; ++i) {
    const QString file = settings.value(Key(i)).toString();
    if (!file.isEmpty()) files.append(file);
  }
  return files;
}

void RecentFileList::Add(const QString& path) {
  const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  QStringList files = Files();
  files.removeAll(absolute);
  files.prepend(absolute);
  while (files.size() > size_) files.removeLast();

  QSettings settings;
  settings.beginGroup(kGroup);
  for (int i = 0; i < size_; ++i) {
    if (i < files.size())
      settings.setValue(Key(i), files.at(i));
    else
      settings.remove(Key(i));
  }
}

}  // namespace numbloc
