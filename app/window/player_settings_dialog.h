// The player settings dialog (resource 141, "対局者設定"): each side's
// routine and its normal, win-read and exact-read depths, which a strength
// level can fill in one choice (the fields stay editable, and the level
// shown follows them), its time (by depth, a time per move or a game clock
// with an increment), and whether "狐" reads with ProbCut, with its cut
// value and two parameters; and whether a human loses on time. It edits a
// copy of the players' settings and of the times and hands them back on OK.
#pragma once

#include <QDialog>

#include <functional>
#include <vector>

#include "app/settings/player_settings.h"
#include "app/settings/time_settings.h"
#include "app/window/window_texts.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QListWidget;

namespace kaimo {

class DepthField;

// The dialog's control ids; each control's object name is "control" + id.
namespace dialog141 {
constexpr int kBlackRoutines = 1005;
constexpr int kWhiteRoutines = 1006;
constexpr int kBlackNormalDepth = 1018;
constexpr int kWhiteNormalDepth = 1014;
constexpr int kBlackWinDepth = 1025;
constexpr int kWhiteWinDepth = 1028;
constexpr int kBlackExactDepth = 1021;
constexpr int kWhiteExactDepth = 1015;
constexpr int kBlackProbCut = 1023;
constexpr int kWhiteProbCut = 1020;
constexpr int kBlackCutConfidence = 1024;
constexpr int kWhiteCutConfidence = 1026;
constexpr int kBlackCutLabel = 1032;
constexpr int kWhiteCutLabel = 1033;
constexpr int kBlackCutDepthLimit = 1030;
constexpr int kWhiteCutDepthLimit = 1034;
constexpr int kBlackCutEmptiesLimit = 1031;
constexpr int kWhiteCutEmptiesLimit = 1035;
// The strength level lists, which fill the three depth fields of a side.
constexpr int kBlackLevel = 1040;
constexpr int kWhiteLevel = 1041;
// Each side's time: by depth, a time per move (seconds) or a game clock
// (minutes and seconds added a move); and the switch of losing on time.
constexpr int kBlackTimeMode = 1042;
constexpr int kWhiteTimeMode = 1043;
constexpr int kBlackPerMove = 1044;
constexpr int kWhitePerMove = 1045;
constexpr int kBlackClockMinutes = 1046;
constexpr int kWhiteClockMinutes = 1047;
constexpr int kBlackIncrement = 1048;
constexpr int kWhiteIncrement = 1049;
constexpr int kLoseOnTime = 1050;
}  // namespace dialog141

class CPlayerSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // Every text in `language`.
  explicit CPlayerSettingsDialog(const PlayerSettings& settings, QWidget* parent = nullptr,
                                 Language language = Language::Japanese)
      : CPlayerSettingsDialog(settings, TimeSettings{}, parent, language) {}
  CPlayerSettingsDialog(const PlayerSettings& settings, const TimeSettings& times, QWidget* parent = nullptr,
                        Language language = Language::Japanese);

  // The edited copies; the caller takes them after OK.
  const PlayerSettings& settings() const { return copy_; }
  const TimeSettings& times() const { return times_; }
  // The control with this id, or null.
  QWidget* control(int id) const;

  // Validation messages go to a modal box unless a handler takes them (tests).
  using MessageHandler = std::function<void(const QString&)>;
  void setMessageHandler(MessageHandler handler) { messageHandler_ = std::move(handler); }

  // OK: checks the fields in order and closes only when all are integers in range.
  void accept() override;

 private:
  struct SideControls {
    QListWidget* routines;
    QComboBox* level;
    DepthField* normalDepth;
    DepthField* winDepth;
    DepthField* exactDepth;
    QCheckBox* probCut;
    QLabel* cutLabel;
    DepthField* cutConfidence;
    DepthField* cutDepthLimit;
    DepthField* cutEmptiesLimit;
    QComboBox* timeMode;
    QDoubleSpinBox* perMove;
    QSpinBox* clockMinutes;
    QSpinBox* increment;
  };
  // A field as validation sees it: where it maps, and its range 0..maximum
  // (none below 0).
  struct NumberField {
    QWidget* control;
    QString text;
    int maximum;
    int colour;
    int SidePlayer::*setting;
  };

  QGroupBox* createSide(int colour, SideControls& controls);
  void addDepthRow(QGridLayout* grid, int row, const texts::Text& label, DepthField* field,
                   const texts::Text& unit = texts::kMovesUnit);
  void addLevelRow(QGridLayout* grid, int row, const texts::Text& label, SideControls& controls, int id);
  QString text(const texts::Text& text) const { return QString::fromUtf8(text.in(language_)); }
  // The level list shows the level whose depths the fields hold, or none.
  static void showLevelOfFields(SideControls& controls);
  void addProbCutRows(QGridLayout* grid, int row, int colour, SideControls& controls);
  void addTimeRows(QGridLayout* grid, int row, int colour, SideControls& controls);
  // The time fields of the mode chosen are the ones that can be edited.
  static void enableTimeFields(SideControls& controls);
  static SideTime timeOfFields(const SideControls& controls);
  void loadFields();
  std::vector<NumberField> fieldsInCheckOrder() const;
  void tell(const QString& message);
  template <typename Widget>
  Widget* named(Widget* widget, int id);

  PlayerSettings copy_;
  Language language_;
  TimeSettings times_;
  QCheckBox* loseOnTime_ = nullptr;
  SideControls black_{};
  SideControls white_{};
  MessageHandler messageHandler_;
};

}  // namespace kaimo
