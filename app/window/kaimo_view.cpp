#include "app/window/kaimo_view.h"

#include <QFile>
#include <QGridLayout>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>

#include "app/window/board_geometry.h"
#include "app/window/board_painter.h"
#include "app/window/record_file_dialog.h"
#include "engine/book/opening_book.h"

namespace kaimo {

static_assert(geometry::kBlackIndicator == kEditBlackIndicator && geometry::kWhiteIndicator == kEditWhiteIndicator &&
                  geometry::kNowhere == kEditNowhere,
              "the editing commands take the view's point mapping as it is");

namespace {

// Wide enough that a box's title and a short text read in full.
constexpr int kMessageMinWidth = 320;

// A box the way every message of the window looks. The spacer comes last:
// setting the icon or the buttons builds the box's layout anew.
void prepareBox(QMessageBox& box, const QString& text, QMessageBox::Icon icon, QMessageBox::StandardButtons buttons) {
  box.setWindowTitle(QStringLiteral("Kaimo"));
  box.setText(text);
  box.setIcon(icon);
  box.setStandardButtons(buttons);
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid != nullptr) {
    grid->addItem(new QSpacerItem(kMessageMinWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0,
                  1, grid->columnCount());
  }
}

}  // namespace

CKaimoView::CKaimoView(PlayerSettings& settings, QWidget* parent)
    : QWidget(parent), controller_(settings, *this), tick_(this) {
  // Every pixel is painted each time: no erase first, so no flicker.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(geometry::kViewWidth, geometry::kViewHeight);
  tick_.setInterval(kTickMilliseconds);
  connect(&tick_, &QTimer::timeout, this, [this] { controller_.onTimer(); });
  // The book of the data folder; one that cannot be read is logged and the
  // computer then always searches.
  controller_.setOpeningBook(defaultOpeningBook());
}

// The controller's destructor stops a running worker before anything goes.
CKaimoView::~CKaimoView() { tick_.stop(); }

QSize CKaimoView::sizeHint() const { return {geometry::kViewWidth, geometry::kViewHeight}; }

void CKaimoView::setPaneText(int pane, const std::string& text) {
  emit paneTextChanged(pane, QString::fromStdString(text));
}

void CKaimoView::showMessage(const std::string& text) {
  const QString message = QString::fromStdString(text);
  if (messageHandler_) {
    messageHandler_(message);
    return;
  }
  QMessageBox box(window());
  prepareBox(box, message, QMessageBox::Information, QMessageBox::Ok);
  box.exec();
}

// A modeless notice replaces the one before: there is one box, raised with
// each new text, and the game goes on while it is open.
void CKaimoView::showNotice(const std::string& text) {
  if (!modelessNotices_ || messageHandler_) {
    showMessage(text);
    return;
  }
  if (!notice_) {
    notice_ = new QMessageBox(window());
    notice_->setObjectName(QStringLiteral("passNotice"));
    notice_->setWindowModality(Qt::NonModal);
    notice_->setAttribute(Qt::WA_DeleteOnClose, false);
    prepareBox(*notice_, QString(), QMessageBox::Information, QMessageBox::Ok);
  }
  notice_->setText(QString::fromStdString(text));
  notice_->show();
  notice_->raise();
}

bool CKaimoView::askYesNo(const std::string& question) {
  const QString text = QString::fromStdString(question);
  if (questionHandler_) return questionHandler_(text);
  QMessageBox box(window());
  prepareBox(box, text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

Answer CKaimoView::askYesNoCancel(const std::string& question) {
  const QString text = QString::fromStdString(question);
  if (choiceHandler_) return choiceHandler_(text);
  QMessageBox box(window());
  prepareBox(box, text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
  }
}

std::string CKaimoView::chooseRecordFile(RecordFileUse use) {
  const QString path = fileChooser_ ? fileChooser_(use) : chooseRecordPath(window(), use);
  return QFile::encodeName(path).toStdString();
}

void CKaimoView::requestRepaint() {
  update();
  emit stateChanged();
}

void CKaimoView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!tick_.isActive()) tick_.start();
}

const Artwork& CKaimoView::artwork(const geometry::ViewLayout& layout) {
  // Redrawn when the board's scale changes or the window moves to a screen
  // of another density, so the pictures are copied pixel for pixel.
  const qreal ratio = devicePixelRatioF() * layout.cell / geometry::kCell;
  if (!artwork_ || artwork_->devicePixelRatio() != ratio) artwork_ = std::make_unique<Artwork>(ratio);
  return *artwork_;
}

int CKaimoView::targetAt(const QMouseEvent& event) const {
  const QPoint at = event.position().toPoint();
  return geometry::squareFromPoint(geometry::layoutFor(width(), height()), at.x(), at.y());
}

void CKaimoView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const MoveMarks marks = controller_.highlightMarks();
  const BoardPicture picture{controller_.board(), controller_.side(), marks, controller_.lastMove(),
                             controller_.squareValues(), controller_.hintMove()};
  const geometry::ViewLayout layout = geometry::layoutFor(width(), height());
  paintBoardView(p, rect(), layout, picture, artwork(layout));
}

void CKaimoView::mousePressEvent(QMouseEvent* event) {
  GameController& game = controller_;
  if (game.mode() == ViewMode::Editing && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
    if (event->button() == Qt::LeftButton) {
      game.leftEdit(targetAt(*event));
    } else {
      game.rightEdit(targetAt(*event));
    }
    return;
  }
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  const int square = targetAt(*event);
  if (square >= 0) game.clickSquare(square);
}

// Qt delivers a double-click as press, release, double-click, release: this
// event is the second press. While editing it edits like any press, so a
// double-click toggles a square twice; otherwise it is dropped, so a
// double-click on a square plays one move, not an attempt at a second.
void CKaimoView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (controller_.mode() == ViewMode::Editing) {
    mousePressEvent(event);
    return;
  }
  event->accept();
}

void CKaimoView::mouseMoveEvent(QMouseEvent* event) {
  if (controller_.mode() != ViewMode::Editing) {
    QWidget::mouseMoveEvent(event);
    return;
  }
  if (event->buttons() & Qt::LeftButton) {
    controller_.leftEdit(targetAt(*event));
  } else if (event->buttons() == Qt::RightButton) {
    controller_.rightEdit(targetAt(*event));
  }
}

void CKaimoView::mouseReleaseEvent(QMouseEvent* event) {
  controller_.endEditStroke();
  QWidget::mouseReleaseEvent(event);
}

}  // namespace kaimo
