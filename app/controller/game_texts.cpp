#include "app/controller/game_texts.h"

#include <cinttypes>
#include <cstring>

#include "engine/board/notation.h"
#include "engine/eval/pattern_data.h"
#include "engine/eval/routines.h"
#include "engine/eval/score.h"

namespace kaimo::texts {
namespace {

constexpr Text kColourNames[] = {{"黒", "Black"}, {"白", "White"}};
// The routine table's names, and what the English window calls them.
constexpr Text kRoutineNames[] = {{"人間", "Human"}, {"狸", "Tanuki"}, {"狐", "Fox"}};
constexpr Text kNoName{};

constexpr Pattern kPass{"%sはパスです。", "%s passes."};
constexpr Pattern kTimeLoss{"%sの時間切れです。%sの勝ちです。", "%s ran out of time. %s wins."};
constexpr Pattern kClockControl{" 持ち時間%d分", " clock %d min"};
constexpr Pattern kIncrement{"+%d秒", " +%d s"};
constexpr Pattern kLevel{" レベル%d", " level %d"};
constexpr Pattern kPerMove{" 1手%g秒", " %g s a move"};
constexpr Pattern kDepths{" 深さ%d/%d/%d", " depth %d/%d/%d"};
constexpr Pattern kTimeUsed{"消費 %d:%02d", "used %d:%02d"};
constexpr Pattern kBlackCount{"黒%d石", "Black %d discs"};
constexpr Pattern kWhiteCount{"白%d石", "White %d discs"};
constexpr Pattern kGameOverCount{"終了 黒%d石 白%d石", "Game over: Black %d discs, White %d discs"};
constexpr Pattern kAnalysisProgress{"%6.2lf%%完了 %" PRId64 " sec", "%6.2lf%% done %" PRId64 " sec"};
constexpr Pattern kValueInDiscs{"%+.2lf石", "%+.2lf discs"};
constexpr Pattern kValueInPoints{"%+.2lf点", "%+.2lf points"};
constexpr Pattern kStandInEvaluation{"（%sの評価）", " (%s's evaluation)"};
constexpr Pattern kBestMove{"最善手 %s ", "Best move %s "};
constexpr Pattern kFromBook{"定石 %s", "Book: %s"};
constexpr Pattern kBookValue{"定石 %s", "Book %s"};
constexpr Pattern kReviewPaused{"検討を止めています %zu/%zu手", "Review paused %zu/%zu moves"};
// After a value of the simple evaluation, which counts corners and
// mobility as well as discs.
constexpr Text kNotDiscs{"（独自の点数で、石数ではありません）", " (points of its own, not discs)"};
// After a value of "狐" in the opening, where the simple evaluation stands in.
constexpr Text kStandInNotDiscs{"（この局面では狸の評価で、石数ではありません）",
                                " (Tanuki's evaluation in this position, not discs)"};

// The thinking column.
constexpr Pattern kThinkingNow{"%s（%s）思考中", "%s (%s) thinking"};
constexpr Pattern kThinkingDone{"%s（%s）の読み", "%s (%s), its read"};
constexpr Pattern kThinkingBook{"%s（%s）定石", "%s (%s) from the book"};
constexpr Pattern kExactDepth{"　完全読み %d手", ", exact read of %d moves"};
constexpr Pattern kDepth{"　深さ %d", ", depth %d"};
constexpr Text kValueHeading{"\n評価 ", "\nValue "};
constexpr Pattern kLineDepth{"（深さ %d）", " (depth %d)"};
constexpr Text kLineHeading{"\n読み筋", "\nLine"};

// The settings file at start.
constexpr Text kNotAFile{"ふつうのファイルではありません", "not a regular file"};
constexpr Pattern kCannotRead{"読めません: %s", "cannot be read: %s"};
constexpr Text kTooLarge{"大きすぎます", "too large"};
constexpr Text kTooShort{"短すぎます", "too short"};
constexpr Pattern kOldVersion{"古い版 %d のファイルです", "a file of the old version %d"};
constexpr Text kWrongLength{"長さが設定の数と合いません", "its length does not match its number of settings"};
constexpr Pattern kSettingsUnusable{"設定ファイル %s は使えないので（%s）、既定の設定で始めます。\n",
                                    "The settings file %s cannot be used (%s); Kaimo starts with the default "
                                    "settings.\n"};
constexpr Pattern kSettingsKeptAs{"元のファイルは %s として残しました。", "The file was kept as %s."};
constexpr Text kSettingsLeftAlone{"このファイルはそのままにして、今回の設定は保存しません。",
                                  "The file is left as it is, and the settings of this run will not be saved."};

Wording valueInUnit(int value, bool inDiscs) {
  return formatBoth(inDiscs ? kValueInDiscs : kValueInPoints, value / static_cast<double>(SCORE_PER_DISC));
}

}  // namespace

const Text& colourName(int colour) { return kColourNames[colour == kWhite ? 1 : 0]; }

Wording hintReaderText(int routine) {
  return inBoth([routine](Language l) { return format(kHintReader, l, routineName(routine).in(l)); });
}

const Text& routineName(int routine) {
  return routine >= 0 && routine < static_cast<int>(std::size(kRoutineNames)) ? kRoutineNames[routine] : kNoName;
}

Wording timeLossText(int side) {
  return inBoth([side](Language l) { return format(kTimeLoss, l, colourName(side).in(l), colourName(1 - side).in(l)); });
}

Wording playerText(int routine, bool computer, int level, LevelDepths depths, const SideTime& time) {
  Wording text = routineName(routine);
  if (time.mode == TimeMode::Clock) {
    text += formatBoth(kClockControl, time.clockMinutes);
    if (time.incrementSeconds > 0) text += formatBoth(kIncrement, time.incrementSeconds);
    return text;
  }
  if (computer && level > 0) return text + formatBoth(kLevel, level);
  if (time.mode == TimeMode::PerMove) return text + formatBoth(kPerMove, time.perMoveMs / 1000.0);
  if (computer) text += formatBoth(kDepths, depths.normal, depths.exact, depths.win);
  return text;
}

Wording clockText(TimeMode mode, std::int64_t ms) {
  // Tenths near the end of the time; whole seconds left are rounded up, so
  // 0:00 is only shown once the time is gone.
  constexpr std::int64_t kTenthsBelowMs = 20000;
  if (mode == TimeMode::Depth) return formatBoth(kTimeUsed, int(ms / 60000), int(ms / 1000 % 60));
  const char* sign = ms < 0 ? "-" : "";
  const std::int64_t left = ms < 0 ? -ms : ms;
  if (left < kTenthsBelowMs) return Wording::same(format("%s0:%02d.%d", sign, int(left / 1000), int(left / 100 % 10)));
  const std::int64_t seconds = (left + 999) / 1000;
  return Wording::same(format("%s%d:%02d", sign, int(seconds / 60), int(seconds % 60)));
}

Wording passText(int side) {
  return inBoth([side](Language l) { return format(kPass, l, colourName(side).in(l)); });
}

Wording blackCountText(int discs) { return formatBoth(kBlackCount, discs); }

Wording whiteCountText(int discs) { return formatBoth(kWhiteCount, discs); }

Wording gameOverText(int black, int white) { return formatBoth(kGameOverCount, black, white); }

std::string evaluationText(int value) { return format("%+.2lf", value / 1000.0); }

std::string progressText(std::int64_t percent, std::int64_t kiloLeavesPerSecond, std::int64_t milliseconds) {
  return format("%" PRId64 "%% %" PRId64 "KLeaf/sec %" PRId64 "msec", percent, kiloLeavesPerSecond, milliseconds);
}

Wording analysisProgressText(double percent, std::int64_t seconds) {
  return formatBoth(kAnalysisProgress, percent, seconds);
}

ValueSource valueSource(int routine, bool exact, int leafEmpties) {
  if (exact) return {true};
  const bool pattern =
      routine >= 0 && routine < routineCount() && routineTable[routine].evaluation == Evaluation::Pattern;
  if (!pattern) return {false};
  return leafEmpties > kPatternMaxEmpties ? ValueSource{false, true} : ValueSource{true};
}

ValueSource sourceOf(const ThinkingDisplay& thinking) {
  if (thinking.fromBook) return {true};  // the book's values are the final margins of its games
  const ThinkingLine& line = thinking.line;
  return valueSource(thinking.routine, line.lineDepth >= line.depth && line.exact, thinking.empties - line.lineDepth);
}

Wording bookHintText(int square, int value) {
  const Wording hint = hintText(square, value, true);
  return inBoth([&hint](Language l) { return format(kFromBook, l, hint.in(l).c_str()); });
}

// The book's values are the final margins of its games.
Wording bookMoveText(int value) {
  const Wording shown = valueText(value, true);
  return inBoth([&shown](Language l) { return format(kBookValue, l, shown.in(l).c_str()); });
}

Wording valueText(int value, ValueSource source) {
  Wording text = valueInUnit(value, source.inDiscs);
  if (!source.standIn) return text;
  return text + inBoth([](Language l) { return format(kStandInEvaluation, l, routineName(kSimpleRoutine).in(l)); });
}

Wording hintText(int square, int value, ValueSource source) {
  return formatBoth(kBestMove, squareDisplayName(square).c_str()) + valueText(value, source);
}

Wording evaluationLine(int routine, int score, ValueSource source) {
  const Text& name = routineName(routine);
  if (score == SCORE_EVAL_ERROR) return inBoth([&name](Language l) { return format("%s error\n", name.in(l)); });
  Wording line = inBoth([&name](Language l) { return std::string(name.in(l)) + " "; });
  line += valueInUnit(score, source.inDiscs);
  if (source.standIn) {
    line += kStandInNotDiscs;
  } else if (!source.inDiscs) {
    line += kNotDiscs;
  }
  return line + Wording::same("\n");
}

namespace {

Wording settingsFaultText(const SettingsFileRead& read) {
  switch (read.fault) {
    case SettingsFault::None: break;
    case SettingsFault::NotAFile: return kNotAFile;
    case SettingsFault::CannotRead: return formatBoth(kCannotRead, std::strerror(read.systemError));
    case SettingsFault::TooLarge: return kTooLarge;
    case SettingsFault::TooShort: return kTooShort;
    case SettingsFault::OldVersion: return formatBoth(kOldVersion, read.version);
    case SettingsFault::WrongLength: return kWrongLength;
  }
  return {};
}

}  // namespace

Wording settingsAtStartText(const std::string& path, const SettingsAtStart& start) {
  const Wording fault = settingsFaultText(start.read);
  Wording text = inBoth([&](Language l) { return format(kSettingsUnusable, l, path.c_str(), fault.in(l).c_str()); });
  if (!start.keptAs.empty()) return text + formatBoth(kSettingsKeptAs, start.keptAs.c_str());
  return text + kSettingsLeftAlone;
}

Wording reviewPausedText(std::size_t read, std::size_t total) { return formatBoth(kReviewPaused, read, total); }

Wording keptGameQuestion(int moves) { return formatBoth(kKeptGameQuestion, moves); }

Wording keptGameDamagedText(const std::string& path, const std::string& keptAs) {
  const Wording text = Wording(kKeptGameDamaged) + Wording::same("\n" + path);
  return keptAs.empty() ? text + kKeptGameRemoved : text + Wording::same("\n→ " + keptAs);
}

Wording thinkingText(const ThinkingDisplay& thinking) {
  if (thinking.colour < 0) return {};
  const ThinkingLine& line = thinking.line;
  const Pattern& doing = thinking.fromBook ? kThinkingBook : thinking.searching ? kThinkingNow : kThinkingDone;
  Wording text = inBoth([&](Language l) {
    return format(doing, l, colourName(thinking.colour).in(l), routineName(thinking.routine).in(l));
  });
  if (line.depth > 0) text += line.exact ? formatBoth(kExactDepth, line.depth) : formatBoth(kDepth, line.depth);
  if (line.lineDepth == 0 && !thinking.fromBook) return text;
  text += Wording(kValueHeading) + valueText(line.value, sourceOf(thinking));
  if (line.lineDepth != line.depth) text += formatBoth(kLineDepth, line.lineDepth);
  if (!line.moves.empty()) {
    text += kLineHeading;
    std::string moves;
    for (int move : line.moves) moves.append(" ").append(squareDisplayName(move));
    text += Wording::same(moves);
  }
  return text;
}

}  // namespace kaimo::texts
