#include "app/window/about_box.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/window/artwork.h"
#include "app/window/product.h"

namespace kaimo {

CAboutBox::CAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Kaimoのﾊﾞｰｼﾞｮﾝ情報"));
  auto* icon = new QLabel(this);
  icon->setPixmap(programIcon().pixmap(QSize(32, 32)));
  auto* line = new QLabel(QString::fromUtf8(product::kTitleLine), this);
  line->setObjectName(QStringLiteral("titleLine"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* row = new QHBoxLayout;
  row->addWidget(icon);
  row->addSpacing(12);
  row->addWidget(line, 1);
  auto* column = new QVBoxLayout(this);
  column->addLayout(row);
  column->addWidget(buttons);
  setFixedSize(sizeHint());
}

}  // namespace kaimo
