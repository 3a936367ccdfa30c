#include "app/window/recent_files.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace kaimo {
namespace {

constexpr const char* kSettingsKey = "RecentFiles";
// The command ids of the entries, one after another from the placeholder's.
constexpr int kFirstEntryId = 57616;

// "~/games/a.txt" for a file under the home folder, the native path otherwise.
QString shownPath(const QString& path) {
  const QString home = QDir::homePath() + QLatin1Char('/');
  const QString shown = path.startsWith(home) ? QStringLiteral("~/") + path.mid(home.size()) : path;
  return QDir::toNativeSeparators(shown);
}

}  // namespace

RecentFiles::RecentFiles(QMenu& menu, QAction& placeholder, QObject* parent)
    : QObject(parent), placeholder_(placeholder) {
  for (int i = 0; i < kMaxCount; ++i) {
    auto* entry = new QAction(this);
    entry->setObjectName(QStringLiteral("recentFile%1").arg(i + 1));
    entry->setData(kFirstEntryId + i);
    connect(entry, &QAction::triggered, this, [this, i] {
      if (i < paths_.size()) emit openRequested(paths_[i]);
    });
    menu.insertAction(&placeholder_, entry);
    entries_[i] = entry;
  }
  for (const QString& path : QSettings().value(kSettingsKey).toStringList()) {
    if (!path.isEmpty() && !paths_.contains(path) && paths_.size() < kMaxCount) paths_ << path;
  }
  showEntries();
}

void RecentFiles::add(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  paths_.removeAll(absolute);
  paths_.prepend(absolute);
  while (paths_.size() > kMaxCount) paths_.removeLast();
  store();
}

void RecentFiles::remove(const QString& path) {
  if (paths_.removeAll(QFileInfo(path).absoluteFilePath()) > 0) store();
}

void RecentFiles::store() {
  QSettings().setValue(kSettingsKey, paths_);
  showEntries();
}

void RecentFiles::showEntries() {
  for (int i = 0; i < kMaxCount; ++i) {
    QAction* entry = entries_[i];
    entry->setVisible(i < paths_.size());
    if (i >= paths_.size()) continue;
    QString shown = shownPath(paths_[i]);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));  // a file name's & is no mnemonic
    entry->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
    entry->setStatusTip(QDir::toNativeSeparators(paths_[i]));
  }
  placeholder_.setVisible(paths_.isEmpty());
}

}  // namespace kaimo
