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
  const char* cutValue;
  const char* probCutA;
  const char* probCutB;
};
constexpr SideTexts kSideTexts[2] = {
    {"黒", "思考ルーチン(&A)", "強さ(&F)", "通常読みの深さ(&B)", "必勝読みの深さ(&M)", "最終読みの深さ(&C)", "ProbCutを使用(&D)",
     "Cut値(&E)", "枝刈りする深さ(&O)", "枝刈りをやめる空き(&P)"},
    {"白", "思考ルーチン(&H)", "強さ(&G)", "通常読みの深さ(&I)", "必勝読みの深さ(&N)", "最終読みの深さ(&J)", "ProbCutを使用(&K)",
     "Cut値(&L)", "枝刈りする深さ(&R)", "枝刈りをやめる空き(&S)"},
};
// What the ProbCut controls mean, as their tool tips say.
constexpr const char* kProbCutTip =
    "狐が、浅い読みの値から深い読みの値を予測して、見込みのない手を深く読まずに枝刈りします。"
    "同じ時間でより深く読めます。狸には効きません。";
constexpr const char* kCutValueTip =
    "予測の確かさ：予測のばらつき（標準偏差）の1000分の1を単位とする幅です。大きいほど慎重に刈ります（1500で1.5倍）。";
constexpr const char* kProbCutATip = "残りの深さがこの手数以下の局面でだけ枝刈りを試みます。";
constexpr const char* kProbCutBTip = "空きマスがこの数以下の局面では枝刈りしません。";

struct SideIds {
  int routines, level, normalDepth, winDepth, exactDepth, probCut, cutLabel, cutValue, probCutA, probCutB;
};
constexpr SideIds kSideIds[2] = {
    {kBlackRoutines, kBlackLevel, kBlackNormalDepth, kBlackWinDepth, kBlackExactDepth, kBlackProbCut, kBlackCutLabel,
     kBlackCutValue, kBlackProbCutA, kBlackProbCutB},
    {kWhiteRoutines, kWhiteLevel, kWhiteNormalDepth, kWhiteWinDepth, kWhiteExactDepth, kWhiteProbCut, kWhiteCutLabel,
     kWhiteCutValue, kWhiteProbCutA, kWhiteProbCutB},
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
  const int routineWord = colour == kBlack ? kBlackRoutineWord : kWhiteRoutineWord;
  connect(controls.routines, &QListWidget::currentRowChanged, this, [this, routineWord](int row) {
    if (row >= 0) copy_[routineWord] = row;
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
  controls.cutValue = named(new DepthField(box, kMaxCutValue), ids.cutValue);
  controls.probCutA = named(new DepthField(box, ProbCutTable::kMaxDepth), ids.probCutA);
  controls.probCutB = named(new DepthField(box, ProbCutTable::kMaxDepth), ids.probCutB);
  controls.cutLabel = named(new QLabel(text(texts.cutValue), box), ids.cutLabel);
  controls.cutLabel->setBuddy(controls.cutValue);
  grid->addWidget(controls.cutLabel, row + 1, 0);
  grid->addWidget(controls.cutValue, row + 1, 1);
  grid->addWidget(new QLabel(text("/1000σ"), box), row + 1, 2);
  addDepthRow(grid, row + 2, texts.probCutA, controls.probCutA);
  addDepthRow(grid, row + 3, texts.probCutB, controls.probCutB, "マス");
  controls.cutValue->setToolTip(text(kCutValueTip));
  controls.probCutA->setToolTip(text(kProbCutATip));
  controls.probCutB->setToolTip(text(kProbCutBTip));
  // Words cleared by an older version leave all three at 0, where ProbCut
  // would do nothing: switching it on then brings the usual values.
  connect(controls.probCut, &QCheckBox::toggled, this, [&controls, colour](bool on) {
    DepthField* fields[] = {controls.cutValue, controls.probCutA, controls.probCutB};
    if (!on || std::any_of(std::begin(fields), std::end(fields), [](DepthField* f) { return f->fieldText() != "0"; })) {
      return;
    }
    const PlayerSettings defaults = PlayerSettings::defaults();
    const bool black = colour == kBlack;
    controls.cutValue->setNumber(defaults[black ? kBlackCutValueWord : kWhiteCutValueWord]);
    controls.probCutA->setNumber(defaults[black ? kBlackProbCutAWord : kWhiteProbCutAWord]);
    controls.probCutB->setNumber(defaults[black ? kBlackProbCutBWord : kWhiteProbCutBWord]);
  });
}

void CPlayerSettingsDialog::loadFields() {
  for (auto [controls, colour] : {std::pair{&black_, kBlack}, std::pair{&white_, kWhite}}) {
    const bool black = colour == kBlack;
    const int routine = copy_[black ? kBlackRoutineWord : kWhiteRoutineWord];
    // A routine the table does not have stays unselected and is kept as it is.
    if (routine >= 0 && routine < routineCount()) controls->routines->setCurrentRow(routine);
    controls->normalDepth->setNumber(copy_[black ? kBlackNormalDepthWord : kWhiteNormalDepthWord]);
    controls->exactDepth->setNumber(copy_[black ? kBlackExactDepthWord : kWhiteExactDepthWord]);
    controls->winDepth->setNumber(copy_[black ? kBlackWinDepthWord : kWhiteWinDepthWord]);
    controls->cutValue->setNumber(copy_[black ? kBlackCutValueWord : kWhiteCutValueWord]);
    controls->probCutA->setNumber(copy_[black ? kBlackProbCutAWord : kWhiteProbCutAWord]);
    controls->probCutB->setNumber(copy_[black ? kBlackProbCutBWord : kWhiteProbCutBWord]);
    controls->probCut->setChecked(copy_[black ? kBlackProbCutWord : kWhiteProbCutWord] != 0);
  }
}

// The order the fields are checked in, and the word each one fills.
std::vector<CPlayerSettingsDialog::NumberField> CPlayerSettingsDialog::fieldsInCheckOrder() const {
  const auto field = [](DepthField* f, int word) { return NumberField{f, f->fieldText(), f->maximum(), word}; };
  const auto box = [](QCheckBox* b, int word) {
    return NumberField{b, b->isChecked() ? QStringLiteral("1") : QStringLiteral("0"), kNoRange, word};
  };
  return {
      field(white_.exactDepth, kWhiteExactDepthWord), field(black_.exactDepth, kBlackExactDepthWord),
      field(black_.normalDepth, kBlackNormalDepthWord), field(white_.normalDepth, kWhiteNormalDepthWord),
      box(black_.probCut, kBlackProbCutWord),           box(white_.probCut, kWhiteProbCutWord),
      field(black_.cutValue, kBlackCutValueWord),       field(white_.cutValue, kWhiteCutValueWord),
      field(black_.winDepth, kBlackWinDepthWord),       field(white_.winDepth, kWhiteWinDepthWord),
      field(black_.probCutA, kBlackProbCutAWord),       field(white_.probCutA, kWhiteProbCutAWord),
      field(black_.probCutB, kBlackProbCutBWord),       field(white_.probCutB, kWhiteProbCutBWord),
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
  for (std::size_t i = 0; i < fields.size(); ++i) copy_[fields[i].word] = values[i];
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
