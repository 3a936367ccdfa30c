#include "app/window/board_picture.h"

#include <QFile>
#include <QPainter>
#include <QSaveFile>

#include "app/controller/game_controller.h"
#include "app/window/artwork.h"
#include "app/window/window_texts.h"

namespace kaimo {
namespace {

// View pixels: one square, and the band round the board for the coordinates.
constexpr int kCell = kSpriteSize;
constexpr int kBand = 24;
constexpr int kSide = 2 * kBand + kBoardSize * kCell;
constexpr qreal kPictureScale = 2.0;

QFont coordinateFont() {
  QFont font;
  font.setFamilies({"DejaVu Sans", "Noto Sans", "sans-serif"});
  font.setPixelSize(14);
  font.setBold(true);
  return font;
}

void paintCoordinates(QPainter& p) {
  p.setFont(coordinateFont());
  p.setPen(Qt::black);
  for (int i = 0; i < kBoardSize; ++i) {
    const QString letter(QChar('a' + i));
    const QString number = QString::number(i + 1);
    const int along = kBand + i * kCell;
    p.drawText(QRect(along, 0, kCell, kBand), Qt::AlignCenter, letter);
    p.drawText(QRect(along, kSide - kBand, kCell, kBand), Qt::AlignCenter, letter);
    p.drawText(QRect(0, along, kBand, kCell), Qt::AlignCenter, number);
    p.drawText(QRect(kSide - kBand, along, kBand, kCell), Qt::AlignCenter, number);
  }
}

}  // namespace

QImage renderBoardPicture(const Board& board, int lastMove) {
  const Artwork art(kPictureScale);
  QImage image(QSize(kSide, kSide) * kPictureScale, QImage::Format_RGB32);
  image.setDevicePixelRatio(kPictureScale);
  QPainter p(&image);
  p.drawTiledPixmap(QRect(0, 0, kSide, kSide), art.tile());
  for (int square = 0; square < kSquareCount; ++square) {
    const int value = board[square];
    if (value < kBlack || value > kWall) continue;
    p.drawPixmap(kBand + columnOf(square) * kCell, kBand + rowOf(square) * kCell,
                 art.cell(0, spriteRow(value, square == lastMove)));
  }
  paintCoordinates(p);
  return image;
}

texts::Wording saveBoardPicture(const QImage& image, const QString& path) {
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit()) return {};
  return texts::formatBoth(texts::kPictureNotSaved, path.toUtf8().constData(), file.errorString().toUtf8().constData());
}

void saveBoardPictureCommand(const GameController& controller, ControllerWindow& window) {
  const QString path =
      QFile::decodeName(QByteArray::fromStdString(window.chooseRecordFile(RecordFileUse::BoardPicture)));
  if (path.isEmpty()) return;
  const texts::Wording failure =
      saveBoardPicture(renderBoardPicture(controller.game().board(), controller.game().lastMove()), path);
  if (!failure.empty()) window.showMessage(failure);
}

}  // namespace kaimo
