#include "app/window/player_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "app/settings/strength_levels.h"
#include "app/window/depth_field.h"
#include "app/controller/game_texts.h"
#include "app/window/integer_check.h"
#include "engine/eval/routines.h"
#include "engine/search/probcut.h"

namespace kaimo {
namespace {

using namespace dialog141;

struct SideIds {
  int routines, level, normalDepth, winDepth, exactDepth, probCut, cutLabel, cutConfidence, cutDepthLimit,
      cutEmptiesLimit, timeMode, perMove, clockMinutes, increment;
};
constexpr SideIds kSideIds[2] = {
    {kBlackRoutines, kBlackLevel, kBlackNormalDepth, kBlackWinDepth, kBlackExactDepth, kBlackProbCut, kBlackCutLabel,
     kBlackCutConfidence, kBlackCutDepthLimit, kBlackCutEmptiesLimit, kBlackTimeMode, kBlackPerMove,
     kBlackClockMinutes, kBlackIncrement},
    {kWhiteRoutines, kWhiteLevel, kWhiteNormalDepth, kWhiteWinDepth, kWhiteExactDepth, kWhiteProbCut, kWhiteCutLabel,
     kWhiteCutConfidence, kWhiteCutDepthLimit, kWhiteCutEmptiesLimit, kWhiteTimeMode, kWhitePerMove,
     kWhiteClockMinutes, kWhiteIncrement},
};

// A field checked only for being an integer.
constexpr int kNoRange = -1;

// Tall enough to show every routine without scrolling at the usual count.
constexpr int kRoutineListRows = 4;

}  // namespace

CPlayerSettingsDialog::CPlayerSettingsDialog(const PlayerSettings& settings, const TimeSettings& times,
                                             QWidget* parent, Language language)
    : QDialog(parent), copy_(settings), language_(language), times_(times) {
  setWindowTitle(text(texts::kPlayersTitle));
  auto* sides = new QHBoxLayout;
  sides->addWidget(createSide(kBlack, black_));
  sides->addWidget(createSide(kWhite, white_));
  loseOnTime_ = named(new QCheckBox(text(texts::kLoseOnTime), this), kLoseOnTime);
  loseOnTime_->setToolTip(text(texts::kLoseOnTimeTip));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(text(texts::kOk));
  buttons->button(QDialogButtonBox::Cancel)->setText(text(texts::kCancel));
  named(buttons->button(QDialogButtonBox::Ok), 1);
  named(buttons->button(QDialogButtonBox::Cancel), 2);
  connect(buttons, &QDialogButtonBox::accepted, this, &CPlayerSettingsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CPlayerSettingsDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(sides);
  layout->addWidget(loseOnTime_);
  layout->addWidget(buttons);
  loadFields();
}

QWidget* CPlayerSettingsDialog::control(int id) const {
  return findChild<QWidget*>(QStringLiteral("control%1").arg(id));
}

template <typename Widget>
Widget* CPlayerSettingsDialog::named(Widget* widget, int id) {
  widget->setObjectName(QStringLiteral("control%1").arg(id));
  return widget;
}

QGroupBox* CPlayerSettingsDialog::createSide(int colour, SideControls& controls) {
  const texts::SideTexts& labels = texts::kSideTexts[colour];
  const SideIds& ids = kSideIds[colour];
  auto* box = new QGroupBox(text(labels.title), this);
  auto* grid = new QGridLayout(box);

  controls.routines = named(new QListWidget(box), ids.routines);
  for (int i = 0; i < routineCount(); ++i) controls.routines->insertItem(i, text(texts::routineName(i)));
  controls.routines->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  controls.routines->setFixedHeight(controls.routines->sizeHintForRow(0) * kRoutineListRows +
                                    2 * controls.routines->frameWidth());
  connect(controls.routines, &QListWidget::currentRowChanged, this, [this, colour](int row) {
    if (row >= 0) copy_.side(colour).routine = row;
  });
  auto* routineLabel = new QLabel(text(labels.routine), box);
  routineLabel->setBuddy(controls.routines);
  grid->addWidget(routineLabel, 0, 0, 1, 3);
  grid->addWidget(controls.routines, 1, 0, 1, 3);

  controls.normalDepth = named(new DepthField(box), ids.normalDepth);
  controls.winDepth = named(new DepthField(box), ids.winDepth);
  controls.exactDepth = named(new DepthField(box), ids.exactDepth);
  addLevelRow(grid, 2, labels.level, controls, ids.level);
  addDepthRow(grid, 3, labels.normalDepth, controls.normalDepth);
  addDepthRow(grid, 4, labels.winDepth, controls.winDepth);
  addDepthRow(grid, 5, labels.exactDepth, controls.exactDepth);

  addTimeRows(grid, 6, colour, controls);
  addProbCutRows(grid, 10, colour, controls);
  return box;
}

// The mode, then a time per move in seconds, a clock in minutes and the
// seconds it gains after each move; only the mode's own fields are enabled.
void CPlayerSettingsDialog::addTimeRows(QGridLayout* grid, int row, int colour, SideControls& controls) {
  const SideIds& ids = kSideIds[colour];
  QWidget* box = grid->parentWidget();
  controls.timeMode = named(new QComboBox(box), ids.timeMode);
  for (const texts::Text& mode : texts::kTimeModes) controls.timeMode->addItem(text(mode));
  controls.perMove = named(new QDoubleSpinBox(box), ids.perMove);
  controls.perMove->setDecimals(1);
  controls.perMove->setRange(kMinPerMoveMs / 1000.0, kMaxPerMoveMs / 1000.0);
  controls.perMove->setSingleStep(0.5);
  controls.clockMinutes = named(new QSpinBox(box), ids.clockMinutes);
  controls.clockMinutes->setRange(kMinClockMinutes, kMaxClockMinutes);
  controls.increment = named(new QSpinBox(box), ids.increment);
  controls.increment->setRange(0, kMaxIncrementSeconds);
  const auto addRow = [&](int at, const texts::Text& label, QWidget* field, const texts::Text* unit) {
    auto* caption = new QLabel(text(label), box);
    caption->setBuddy(field);
    grid->addWidget(caption, at, 0);
    grid->addWidget(field, at, 1);
    if (unit != nullptr) grid->addWidget(new QLabel(text(*unit), box), at, 2);
  };
  addRow(row, texts::kTimeModeLabel[colour], controls.timeMode, nullptr);
  addRow(row + 1, texts::kPerMoveLabel, controls.perMove, &texts::kSecondsUnit);
  addRow(row + 2, texts::kClockLabel, controls.clockMinutes, &texts::kMinutesUnit);
  addRow(row + 3, texts::kIncrementLabel, controls.increment, &texts::kSecondsUnit);
  connect(controls.timeMode, &QComboBox::currentIndexChanged, this, [&controls] {
    enableTimeFields(controls);
    showLevelOfFields(controls);
  });
  connect(controls.perMove, &QDoubleSpinBox::valueChanged, this, [&controls] { showLevelOfFields(controls); });
}

void CPlayerSettingsDialog::enableTimeFields(SideControls& controls) {
  const auto mode = static_cast<TimeMode>(controls.timeMode->currentIndex());
  controls.perMove->setEnabled(mode == TimeMode::PerMove);
  controls.clockMinutes->setEnabled(mode == TimeMode::Clock);
  controls.increment->setEnabled(mode == TimeMode::Clock);
}

SideTime CPlayerSettingsDialog::timeOfFields(const SideControls& controls) {
  return SideTime{.mode = static_cast<TimeMode>(controls.timeMode->currentIndex()),
                  .perMoveMs = static_cast<int>(std::lround(controls.perMove->value() * 1000)),
                  .clockMinutes = controls.clockMinutes->value(),
                  .incrementSeconds = controls.increment->value()};
}

void CPlayerSettingsDialog::addDepthRow(QGridLayout* grid, int row, const texts::Text& label, DepthField* field,
                                        const texts::Text& unit) {
  auto* caption = new QLabel(text(label), field->parentWidget());
  caption->setBuddy(field);
  grid->addWidget(caption, row, 0);
  grid->addWidget(field, row, 1);
  grid->addWidget(new QLabel(text(unit), field->parentWidget()), row, 2);
}

// Choosing a level fills the three depth fields; editing a field shows the
// level its depths make, if any.
void CPlayerSettingsDialog::addLevelRow(QGridLayout* grid, int row, const texts::Text& label, SideControls& controls,
                                        int id) {
  QWidget* box = controls.normalDepth->parentWidget();
  controls.level = named(new QComboBox(box), id);
  controls.level->addItem(text(texts::kCustomLevel));
  for (int level = 1; level <= kLevelCount; ++level) {
    const int ms = strengthLevel(level).msPerMove;
    controls.level->addItem(QString::fromStdString(
        ms == 0 ? texts::format(texts::kLevel, language_, level)
                : texts::format(texts::kTimedLevel, language_, level, ms / 1000.0)));
  }
  // A level by depth reads by depth; a level by time sets its time and ProbCut.
  connect(controls.level, &QComboBox::activated, this, [&controls](int index) {
    if (index <= 0) return;
    const StrengthLevel& level = strengthLevel(index);
    controls.normalDepth->setNumber(level.depths.normal);
    controls.winDepth->setNumber(level.depths.win);
    controls.exactDepth->setNumber(level.depths.exact);
    if (level.msPerMove > 0) {
      controls.probCut->setChecked(level.probCut);
      controls.perMove->setValue(level.msPerMove / 1000.0);
      controls.timeMode->setCurrentIndex(static_cast<int>(TimeMode::PerMove));
    } else {
      controls.timeMode->setCurrentIndex(static_cast<int>(TimeMode::Depth));
    }
    showLevelOfFields(controls);
  });
  for (DepthField* field : {controls.normalDepth, controls.winDepth, controls.exactDepth}) {
    connect(field, &DepthField::fieldChanged, this, [&controls] { showLevelOfFields(controls); });
  }
  auto* caption = new QLabel(text(label), box);
  caption->setBuddy(controls.level);
  grid->addWidget(caption, row, 0);
  grid->addWidget(controls.level, row, 1, 1, 2);
}

void CPlayerSettingsDialog::showLevelOfFields(SideControls& controls) {
  auto number = [](const DepthField* field) {
    bool ok = false;
    const int value = field->fieldText().toInt(&ok);
    return ok ? value : -1;
  };
  // The time rows and the switch come after the level row: until they are
  // made, the depths alone tell.
  const SideTime time = controls.timeMode != nullptr ? timeOfFields(controls) : SideTime{};
  const bool probCut = controls.probCut != nullptr && controls.probCut->isChecked();
  const int level = time.mode == TimeMode::Clock
                        ? 0
                        : levelOf(number(controls.normalDepth), number(controls.winDepth), number(controls.exactDepth),
                                  probCut, time.mode == TimeMode::PerMove ? time.perMoveMs : 0);
  const QSignalBlocker quiet(controls.level);
  controls.level->setCurrentIndex(level);
}

// The switch, then the cut value and the two parameters, each a number
// field like the depths.
void CPlayerSettingsDialog::addProbCutRows(QGridLayout* grid, int row, int colour, SideControls& controls) {
  const texts::SideTexts& labels = texts::kSideTexts[colour];
  const SideIds& ids = kSideIds[colour];
  QWidget* box = grid->parentWidget();
  controls.probCut = named(new QCheckBox(text(labels.probCut), box), ids.probCut);
  controls.probCut->setToolTip(text(texts::kProbCutTip));
  grid->addWidget(controls.probCut, row, 0, 1, 3);
  controls.cutConfidence = named(new DepthField(box, kMaxCutValue), ids.cutConfidence);
  controls.cutDepthLimit = named(new DepthField(box, ProbCutTable::kMaxDepth), ids.cutDepthLimit);
  controls.cutEmptiesLimit = named(new DepthField(box, ProbCutTable::kMaxDepth), ids.cutEmptiesLimit);
  controls.cutLabel = named(new QLabel(text(labels.cutConfidence), box), ids.cutLabel);
  controls.cutLabel->setBuddy(controls.cutConfidence);
  grid->addWidget(controls.cutLabel, row + 1, 0);
  grid->addWidget(controls.cutConfidence, row + 1, 1);
  grid->addWidget(new QLabel(text(texts::kCutUnit), box), row + 1, 2);
  addDepthRow(grid, row + 2, labels.cutDepthLimit, controls.cutDepthLimit);
  addDepthRow(grid, row + 3, labels.cutEmptiesLimit, controls.cutEmptiesLimit, texts::kSquaresUnit);
  controls.cutConfidence->setToolTip(text(texts::kCutConfidenceTip));
  controls.cutDepthLimit->setToolTip(text(texts::kCutDepthLimitTip));
  controls.cutEmptiesLimit->setToolTip(text(texts::kCutEmptiesLimitTip));
  // Words cleared by an older version leave all three at 0, where ProbCut
  // would do nothing: switching it on then brings the usual values.
  connect(controls.probCut, &QCheckBox::toggled, this, [&controls] { showLevelOfFields(controls); });
  connect(controls.probCut, &QCheckBox::toggled, this, [&controls, colour](bool on) {
    DepthField* fields[] = {controls.cutConfidence, controls.cutDepthLimit, controls.cutEmptiesLimit};
    if (!on || std::any_of(std::begin(fields), std::end(fields), [](DepthField* f) { return f->fieldText() != "0"; })) {
      return;
    }
    const SidePlayer defaults = PlayerSettings::defaults().side(colour);
    controls.cutConfidence->setNumber(defaults.cutConfidence);
    controls.cutDepthLimit->setNumber(defaults.cutDepthLimit);
    controls.cutEmptiesLimit->setNumber(defaults.cutEmptiesLimit);
  });
}

void CPlayerSettingsDialog::loadFields() {
  for (auto [controls, colour] : {std::pair{&black_, kBlack}, std::pair{&white_, kWhite}}) {
    const SidePlayer& player = copy_.side(colour);
    // A routine the table does not have stays unselected and is kept as it is.
    if (player.routine >= 0 && player.routine < routineCount()) controls->routines->setCurrentRow(player.routine);
    controls->normalDepth->setNumber(player.normalDepth);
    controls->exactDepth->setNumber(player.exactDepth);
    controls->winDepth->setNumber(player.winDepth);
    controls->cutConfidence->setNumber(player.cutConfidence);
    controls->cutDepthLimit->setNumber(player.cutDepthLimit);
    controls->cutEmptiesLimit->setNumber(player.cutEmptiesLimit);
    controls->probCut->setChecked(player.probCut != 0);
    const SideTime& time = times_.side(colour);
    controls->perMove->setValue(time.perMoveMs / 1000.0);
    controls->clockMinutes->setValue(time.clockMinutes);
    controls->increment->setValue(time.incrementSeconds);
    controls->timeMode->setCurrentIndex(static_cast<int>(time.mode));
    enableTimeFields(*controls);
    showLevelOfFields(*controls);
  }
  loseOnTime_->setChecked(times_.loseOnTime);
}

// The order the fields are checked in, and the setting each one fills.
std::vector<CPlayerSettingsDialog::NumberField> CPlayerSettingsDialog::fieldsInCheckOrder() const {
  const auto field = [](DepthField* f, int colour, int SidePlayer::*setting) {
    return NumberField{f, f->fieldText(), f->maximum(), colour, setting};
  };
  const auto box = [](QCheckBox* b, int colour, int SidePlayer::*setting) {
    return NumberField{b, b->isChecked() ? QStringLiteral("1") : QStringLiteral("0"), kNoRange, colour, setting};
  };
  using P = SidePlayer;
  return {
      field(white_.exactDepth, kWhite, &P::exactDepth),
      field(black_.exactDepth, kBlack, &P::exactDepth),
      field(black_.normalDepth, kBlack, &P::normalDepth),
      field(white_.normalDepth, kWhite, &P::normalDepth),
      box(black_.probCut, kBlack, &P::probCut),
      box(white_.probCut, kWhite, &P::probCut),
      field(black_.cutConfidence, kBlack, &P::cutConfidence),
      field(white_.cutConfidence, kWhite, &P::cutConfidence),
      field(black_.winDepth, kBlack, &P::winDepth),
      field(white_.winDepth, kWhite, &P::winDepth),
      field(black_.cutDepthLimit, kBlack, &P::cutDepthLimit),
      field(white_.cutDepthLimit, kWhite, &P::cutDepthLimit),
      field(black_.cutEmptiesLimit, kBlack, &P::cutEmptiesLimit),
      field(white_.cutEmptiesLimit, kWhite, &P::cutEmptiesLimit),
  };
}

void CPlayerSettingsDialog::accept() {
  const std::vector<NumberField> fields = fieldsInCheckOrder();
  std::vector<int> values;
  for (const NumberField& field : fields) {
    const IntegerCheck check =
        field.maximum == kNoRange ? checkInteger(field.text, language_)
                                   : checkInteger(field.text, kMinDepth, field.maximum, language_);
    if (!check.ok) {
      tell(check.message);
      field.control->setFocus(Qt::OtherFocusReason);
      if (auto* depth = qobject_cast<DepthField*>(field.control)) depth->selectAll();
      return;  // the copy stays as it was
    }
    values.push_back(check.value);
  }
  for (std::size_t i = 0; i < fields.size(); ++i) copy_.side(fields[i].colour).*fields[i].setting = values[i];
  times_.black = timeOfFields(black_);
  times_.white = timeOfFields(white_);
  times_.loseOnTime = loseOnTime_->isChecked();
  QDialog::accept();
}

void CPlayerSettingsDialog::tell(const QString& message) {
  if (messageHandler_) {
    messageHandler_(message);
  } else {
    QMessageBox::warning(this, windowTitle(), message);
  }
}

}  // namespace kaimo
