// The about box: the program icon, the name with the version, and OK.
#pragma once

#include <QDialog>

#include "app/texts/language.h"

namespace kaimo {

class CAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutBox(QWidget* parent = nullptr, Language language = Language::Japanese);
};

}  // namespace kaimo
