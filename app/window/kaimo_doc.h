// The document of the window set. The game lives in the main window's
// controller; the document only names what the window shows, in its title.
#pragma once

#include <QFileInfo>
#include <QString>

namespace kaimo {

class CKaimoDoc {
 public:
  const QString& title() const { return title_; }
  void setTitle(const QString& title) { title_ = title; }
  // The game comes from, or went to, the record at `path`: the title is its
  // file name; an empty path is a new game.
  void setRecordPath(const QString& path) {
    title_ = path.isEmpty() ? QStringLiteral("無題") : QFileInfo(path).fileName();
  }

 private:
  QString title_ = QStringLiteral("無題");
};

}  // namespace kaimo
