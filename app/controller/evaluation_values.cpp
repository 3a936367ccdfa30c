#include "app/controller/evaluation_values.h"

#include "app/controller/game_texts.h"
#include "engine/eval/routines.h"

namespace kaimo {

texts::Wording evaluationValuesText(const Board& board, int side) {
  texts::Wording text;
  for (int routine = kHumanRoutine + 1; routine < routineCount(); ++routine) {
    DiscCounts counts;  // the evaluation may use it as scratch, so fresh for each
    boardCount(board, counts);
    const int empties = counts[kEmpty];
    const int score = routineEvaluator(routine).evaluate(board, 0, side, counts);
    text += texts::evaluationLine(routine, score, texts::valueSource(routine, false, empties));
  }
  return text;
}

}  // namespace kaimo
