// The recently used game records on the file menu: the last four read or
// saved, newest first, kept in Qt's settings profile of the program, so
// they survive a restart. With none, the menu shows the grayed placeholder.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

class QAction;
class QMenu;

namespace kaimo {

class RecentFiles : public QObject {
  Q_OBJECT

 public:
  static constexpr int kMaxCount = 4;

  // The entries go into `menu` just before `placeholder`.
  RecentFiles(QMenu& menu, QAction& placeholder, QObject* parent);

  // Absolute paths, newest first.
  const QStringList& paths() const { return paths_; }
  // `path` becomes the newest entry.
  void add(const QString& path);
  void remove(const QString& path);

 signals:
  // The user chose entry `path`.
  void openRequested(const QString& path);

 private:
  void store();
  void showEntries();

  QAction& placeholder_;
  std::array<QAction*, kMaxCount> entries_{};
  QStringList paths_;
};

}  // namespace kaimo
