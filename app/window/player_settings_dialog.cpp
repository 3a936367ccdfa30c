#include "app/window/player_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

#include "app/settings/strength_levels.h"
#include "app/window/depth_field.h"
#include "app/window/integer_check.h"
#include "engine/eval/routines.h"
#include "engine/search/probcut.h"

namespace kaimo {
namespace {

using namespace dialog141;

// Texts of one side's labels: black's mnemonics, then white's.
struct SideTexts {
  const char* title;
  const char* routine;
  const char* level;
  const char* normalDepth;
  const char* winDepth;
  const char* exactDepth;
  const char* probCut;
  const char* cutConfidence;
  const char* cutDepthLimit;
  const char* cutEmptiesLimit;
};
constexpr SideTexts kSideTexts[2] = {
    {"黒", "思考ルーチン(&A)", "強さ(&F)", "通常読みの深さ(&B)", "必勝読みの深さ(&M)", "最終読みの深さ(&C)",
     "ProbCutを使用(&D)", "Cut値(&E)", "枝刈りする深さ(&O)", "枝刈りをやめる空き(&P)"},
    {"白", "思考ルーチン(&H)", "強さ(&G)", "通常読みの深さ(&I)", "必勝読みの深さ(&N)", "最終読みの深さ(&J)",
     "ProbCutを使用(&K)", "Cut値(&L)", "枝刈りする深さ(&R)", "枝刈りをやめる空き(&S)"},
};
// What the ProbCut controls mean, as their tool tips say.
constexpr const char* kProbCutTip =
    "狐が、浅い読みの値から深い読みの値を予測して、見込みのない手を深く読まずに枝刈りします。"
    "同じ時間でより深く読めます。狸には効きません。";
constexpr const char* kCutConfidenceTip =
    "予測の確かさ：予測のばらつき（標準偏差）の1000分の1を単位とする幅です。大きいほど慎重に刈ります（1500で1.5倍）。";
constexpr const char* kCutDepthLimitTip = "残りの深さがこの手数以下の局面でだけ枝刈りを試みます。";
constexpr const char* kCutEmptiesLimitTip = "空きマスがこの数以下の局面では枝刈りしません。";

struct SideIds {
  int routines, level, normalDepth, winDepth, exactDepth, probCut, cutLabel, cutConfidence, cutDepthLimit,
      cutEmptiesLimit;
};
constexpr SideIds kSideIds[2] = {
    {kBlackRoutines, kBlackLevel, kBlackNormalDepth, kBlackWinDepth, kBlackExactDepth, kBlackProbCut, kBlackCutLabel,
     kBlackCutConfidence, kBlackCutDepthLimit, kBlackCutEmptiesLimit},
    {kWhiteRoutines, kWhiteLevel, kWhiteNormalDepth, kWhiteWinDepth, kWhiteExactDepth, kWhiteProbCut, kWhiteCutLabel,
     kWhiteCutConfidence, kWhiteCutDepthLimit, kWhiteCutEmptiesLimit},
};

// A field checked only for being an integer.
constexpr int kNoRange = -1;

// Tall enough to show every routine without scrolling at the usual count.
constexpr int kRoutineListRows = 4;

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

CPlayerSettingsDialog::CPlayerSettingsDialog(const PlayerSettings& settings, QWidget* parent)
    : QDialog(parent), copy_(settings) {
  setWindowTitle(text("対局者設定"));
  auto* sides = new QHBoxLayout;
  sides->addWidget(createSide(kBlack, black_));
  sides->addWidget(createSide(kWhite, white_));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(text("ｷｬﾝｾﾙ"));
  named(buttons->button(QDialogButtonBox::Ok), 1);
  named(buttons->button(QDialogButtonBox::Cancel), 2);
  connect(buttons, &QDialogButtonBox::accepted, this, &CPlayerSettingsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CPlayerSettingsDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(sides);
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
  const SideTexts& texts = kSideTexts[colour];
  const SideIds& ids = kSideIds[colour];
  auto* box = new QGroupBox(text(texts.title), this);
  auto* grid = new QGridLayout(box);

  controls.routines = named(new QListWidget(box), ids.routines);
  for (int i = 0; i < routineCount(); ++i) controls.routines->insertItem(i, text(routineTable[i].name));
  controls.routines->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  controls.routines->setFixedHeight(controls.routines->sizeHintForRow(0) * kRoutineListRows +
                                    2 * controls.routines->frameWidth());
  connect(controls.routines, &QListWidget::currentRowChanged, this, [this, colour](int row) {
    if (row >= 0) copy_.side(colour).routine = row;
  });
  auto* routineLabel = new QLabel(text(texts.routine), box);
  routineLabel->setBuddy(controls.routines);
  grid->addWidget(routineLabel, 0, 0, 1, 3);
  grid->addWidget(controls.routines, 1, 0, 1, 3);

  controls.normalDepth = named(new DepthField(box), ids.normalDepth);
  controls.winDepth = named(new DepthField(box), ids.winDepth);
  controls.exactDepth = named(new DepthField(box), ids.exactDepth);
  addLevelRow(grid, 2, texts.level, controls, ids.level);
  addDepthRow(grid, 3, texts.normalDepth, controls.normalDepth);
  addDepthRow(grid, 4, texts.winDepth, controls.winDepth);
  addDepthRow(grid, 5, texts.exactDepth, controls.exactDepth);

  addProbCutRows(grid, 6, colour, controls);
  return box;
}

void CPlayerSettingsDialog::addDepthRow(QGridLayout* grid, int row, const char* label, DepthField* field,
                                        const char* unit) {
  auto* caption = new QLabel(text(label), field->parentWidget());
  caption->setBuddy(field);
  grid->addWidget(caption, row, 0);
  grid->addWidget(field, row, 1);
  grid->addWidget(new QLabel(text(unit), field->parentWidget()), row, 2);
}

// Choosing a level fills the three depth fields; editing a field shows the
// level its depths make, if any.
void CPlayerSettingsDialog::addLevelRow(QGridLayout* grid, int row, const char* label, SideControls& controls, int id) {
  QWidget* box = controls.normalDepth->parentWidget();
  controls.level = named(new QComboBox(box), id);
  controls.level->addItem(text("個別の設定"));
  for (std::size_t level = 1; level <= kStrengthLevels.size(); ++level) {
    controls.level->addItem(text("レベル %1").arg(level));
  }
  connect(controls.level, &QComboBox::activated, this, [&controls](int index) {
    if (index <= 0) return;
    const LevelDepths depths = depthsOfLevel(index);
    controls.normalDepth->setNumber(depths.normal);
    controls.winDepth->setNumber(depths.win);
    controls.exactDepth->setNumber(depths.exact);
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
  const int level = levelOfDepths(number(controls.normalDepth), number(controls.winDepth), number(controls.exactDepth));
  const QSignalBlocker quiet(controls.level);
  controls.level->setCurrentIndex(level);
}

// The switch, then the cut value and the two parameters, each a number
// field like the depths.
void CPlayerSettingsDialog::addProbCutRows(QGridLayout* grid, int row, int colour, SideControls& controls) {
  const SideTexts& texts = kSideTexts[colour];
  const SideIds& ids = kSideIds[colour];
  QWidget* box = grid->parentWidget();
  controls.probCut = named(new QCheckBox(text(texts.probCut), box), ids.probCut);
  controls.probCut->setToolTip(text(kProbCutTip));
  grid->addWidget(controls.probCut, row, 0, 1, 3);
  controls.cutConfidence = named(new DepthField(box, kMaxCutValue), ids.cutConfidence);
  controls.cutDepthLimit = named(new DepthField(box, ProbCutTable::kMaxDepth), ids.cutDepthLimit);
  controls.cutEmptiesLimit = named(new DepthField(box, ProbCutTable::kMaxDepth), ids.cutEmptiesLimit);
  controls.cutLabel = named(new QLabel(text(texts.cutConfidence), box), ids.cutLabel);
  controls.cutLabel->setBuddy(controls.cutConfidence);
  grid->addWidget(controls.cutLabel, row + 1, 0);
  grid->addWidget(controls.cutConfidence, row + 1, 1);
  grid->addWidget(new QLabel(text("/1000σ"), box), row + 1, 2);
  addDepthRow(grid, row + 2, texts.cutDepthLimit, controls.cutDepthLimit);
  addDepthRow(grid, row + 3, texts.cutEmptiesLimit, controls.cutEmptiesLimit, "マス");
  controls.cutConfidence->setToolTip(text(kCutConfidenceTip));
  controls.cutDepthLimit->setToolTip(text(kCutDepthLimitTip));
  controls.cutEmptiesLimit->setToolTip(text(kCutEmptiesLimitTip));
  // Words cleared by an older version leave all three at 0, where ProbCut
  // would do nothing: switching it on then brings the usual values.
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
  }
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
        field.maximum == kNoRange ? checkInteger(field.text) : checkInteger(field.text, kMinDepth, field.maximum);
    if (!check.ok) {
      tell(check.message);
      field.control->setFocus(Qt::OtherFocusReason);
      if (auto* depth = qobject_cast<DepthField*>(field.control)) depth->selectAll();
      return;  // the copy stays as it was
    }
    values.push_back(check.value);
  }
  for (std::size_t i = 0; i < fields.size(); ++i) copy_.side(fields[i].colour).*fields[i].setting = values[i];
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
