// The board as a picture file: the squares with their discs and the last
// move's frame, with the column letters a..j and the row numbers 1..10 round
// the edge, saved as a PNG image.
#pragma once

#include <QImage>
#include <QString>

#include "app/texts/text.h"
#include "engine/board/board.h"

namespace kaimo {

class ControllerWindow;
class GameController;

// Drawn at twice the view's size, so the picture stays sharp when enlarged.
QImage renderBoardPicture(const Board& board, int lastMove);

// Writes `image` as a PNG image through a temporary file beside `path`, so a
// failure leaves any earlier file as it was. Empty on success, else the
// message: the file and the system's reason.
texts::Wording saveBoardPicture(const QImage& image, const QString& path);

// The command: asks `window` for a file and saves the position on the
// board of `game`; a failure is told in a message.
void saveBoardPictureCommand(const GameController& controller, ControllerWindow& window);

}  // namespace kaimo
