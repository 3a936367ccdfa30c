// The document of the window set. The game lives in the main window's
// controller; the document only names what the window shows, in its title.
#pragma once

#include <QFileInfo>
#include <QString>

#include "app/window/window_texts.h"

namespace kaimo {

class CKaimoDoc {
 public:
  // The record's file name, or "無題" for a new game.
  QString title(Language language) const {
    return recordPath_.isEmpty() ? QString::fromUtf8(texts::kUntitled.in(language)) : QFileInfo(recordPath_).fileName();
  }
  // The game comes from, or went to, the record at `path`; an empty path is
  // a new game.
  void setRecordPath(const QString& path) { recordPath_ = path; }

 private:
  QString recordPath_;
};

}  // namespace kaimo
