#include "app/window/player_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/settings/strength_levels.h"
#include "app/window/depth_field.h"
#include "app/window/integer_check.h"
#include "engine/eval/routines.h"

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
};
constexpr SideTexts kSideTexts[2] = {
    {"黒", "思考ルーチン(&A)", "強さ(&F)", "通常読みの深さ(&B)", "必勝読みの深さ(&M)", "最終読みの深さ(&C)", "ProbCutを使用(&D)",
     "Cut値(&E)"},
    {"白", "思考ルーチン(&H)", "強さ(&G)", "通常読みの深さ(&I)", "必勝読みの深さ(&N)", "最終読みの深さ(&J)", "ProbCutを使用(&K)",
     "Cut値(&L)"},
};

struct SideIds {
  int routines, level, normalDepth, winDepth, exactDepth, probCut, cutLabel, cutValue, probCutA, probCutB;
};
constexpr SideIds kSideIds[2] = {
    {kBlackRoutines, kBlackLevel, kBlackNormalDepth, kBlackWinDepth, kBlackExactDepth, kBlackProbCut, kBlackCutLabel,
     kBlackCutValue, kBlackProbCutA, kBlackProbCutB},
    {kWhiteRoutines, kWhiteLevel, kWhiteNormalDepth, kWhiteWinDepth, kWhiteExactDepth, kWhiteProbCut, kWhiteCutLabel,
     kWhiteCutValue, kWhiteProbCutA, kWhiteProbCutB},
};

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

  controls.probCut = named(new QCheckBox(text(texts.probCut), box), ids.probCut);
  controls.cutLabel = named(new QLabel(text(texts.cutValue), box), ids.cutLabel);
  controls.cutValue = named(new QLineEdit(box), ids.cutValue);
  controls.probCutA = named(new QLineEdit(box), ids.probCutA);
  controls.probCutB = named(new QLineEdit(box), ids.probCutB);
  controls.cutLabel->setBuddy(controls.cutValue);
  grid->addWidget(controls.probCut, 6, 0, 1, 3);
  grid->addWidget(controls.cutLabel, 7, 0);
  grid->addWidget(controls.cutValue, 7, 1);
  grid->addWidget(controls.probCutA, 8, 0);
  grid->addWidget(controls.probCutB, 8, 1);
  hideProbCutControls(controls);
  return box;
}

void CPlayerSettingsDialog::addDepthRow(QGridLayout* grid, int row, const char* label, DepthField* field) {
  auto* caption = new QLabel(text(label), field->parentWidget());
  caption->setBuddy(field);
  grid->addWidget(caption, row, 0);
  grid->addWidget(field, row, 1);
  grid->addWidget(new QLabel(text("手"), field->parentWidget()), row, 2);
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

// ProbCut is never offered: its words are carried and cleared on OK.
void CPlayerSettingsDialog::hideProbCutControls(SideControls& controls) {
  controls.probCut->setChecked(false);
  for (QLineEdit* edit : {controls.cutValue, controls.probCutA, controls.probCutB}) edit->setText(QStringLiteral("0"));
  for (QWidget* widget : std::initializer_list<QWidget*>{controls.probCut, controls.cutLabel, controls.cutValue,
                                                         controls.probCutA, controls.probCutB}) {
    widget->hide();
  }
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
  }
}

// The order the fields are checked in, and the word each one fills.
std::vector<CPlayerSettingsDialog::NumberField> CPlayerSettingsDialog::fieldsInCheckOrder() const {
  return {
      {white_.exactDepth, white_.exactDepth->fieldText(), true, kWhiteExactDepthWord},
      {black_.exactDepth, black_.exactDepth->fieldText(), true, kBlackExactDepthWord},
      {black_.normalDepth, black_.normalDepth->fieldText(), true, kBlackNormalDepthWord},
      {white_.normalDepth, white_.normalDepth->fieldText(), true, kWhiteNormalDepthWord},
      {black_.probCut, black_.probCut->isChecked() ? QStringLiteral("1") : QStringLiteral("0"), false,
       kBlackProbCutWord},
      {white_.probCut, white_.probCut->isChecked() ? QStringLiteral("1") : QStringLiteral("0"), false,
       kWhiteProbCutWord},
      {black_.cutValue, black_.cutValue->text(), false, kBlackCutValueWord},
      {white_.cutValue, white_.cutValue->text(), false, kWhiteCutValueWord},
      {black_.winDepth, black_.winDepth->fieldText(), true, kBlackWinDepthWord},
      {white_.winDepth, white_.winDepth->fieldText(), true, kWhiteWinDepthWord},
      {black_.probCutA, black_.probCutA->text(), false, kBlackProbCutAWord},
      {white_.probCutA, white_.probCutA->text(), false, kWhiteProbCutAWord},
      {black_.probCutB, black_.probCutB->text(), false, kBlackProbCutBWord},
      {white_.probCutB, white_.probCutB->text(), false, kWhiteProbCutBWord},
  };
}

void CPlayerSettingsDialog::accept() {
  const std::vector<NumberField> fields = fieldsInCheckOrder();
  std::vector<int> values;
  for (const NumberField& field : fields) {
    const IntegerCheck check = field.depth ? checkInteger(field.text, kMinDepth, kMaxDepth) : checkInteger(field.text);
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
