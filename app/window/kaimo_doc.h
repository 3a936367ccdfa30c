// The document of the window set. The game lives in the view's controller;
// the document only names what the window shows, in its title.
#pragma once

#include <QString>

namespace kaimo {

class CKaimoDoc {
 public:
  const QString& title() const { return title_; }
  void setTitle(const QString& title) { title_ = title; }

 private:
  QString title_ = QStringLiteral("無題");
};

}  // namespace kaimo
