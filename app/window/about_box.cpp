#include "app/window/about_box.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

#include "app/window/artwork.h"
#include "app/window/product.h"
#include "app/window/window_texts.h"

namespace kaimo {

namespace {

// Room a window manager's title bar takes besides the title: the icon and
// the buttons, with some air.
constexpr int kTitleBarExtras = 160;

}  // namespace

CAboutBox::CAboutBox(QWidget* parent, Language language) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(texts::kAboutTitle.in(language)));
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
  // The box is only as wide as its line would make it, and a title bar
  // would cut the title short: wide enough for the title in the title
  // font, which is often a bold or larger face than the dialog's.
  QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
  const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + kTitleBarExtras;
  setFixedSize(std::max(sizeHint().width(), titleWidth), sizeHint().height());
}

}  // namespace kaimo
