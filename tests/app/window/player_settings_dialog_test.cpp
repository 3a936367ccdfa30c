// The player settings dialog on the offscreen platform: what it shows, the
// check of its fields with the program's messages and the focus, and what OK
// and Cancel leave in the settings.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <memory>

#include "app/settings/settings_words.h"
#include "app/settings/strength_levels.h"
#include "app/window/depth_field.h"
#include "app/window/player_settings_dialog.h"
#include "engine/eval/routines.h"

namespace kaimo {
namespace {

using namespace dialog141;

constexpr const char* kNotAnInteger = "整数を入力してください。";
constexpr const char* kOutOfRange = "0 から 60 までの整数を入力してください。";

// Every word different, so a word copied to the wrong place shows.
PlayerSettings distinctSettings() {
  SettingsWords words{};
  for (int i = 0; i < kSettingsWordCount; ++i) words[i] = 100 + i;
  PlayerSettings s = settingsFromWords(words);
  s.black.routine = 2;
  s.white.routine = 0;
  s.black.normalDepth = 7;
  s.black.exactDepth = 15;
  s.black.winDepth = 17;
  s.white.normalDepth = 4;
  s.white.exactDepth = 12;
  s.white.winDepth = 14;
  s.black.probCut = 1;
  s.black.cutConfidence = 1200;
  s.black.cutDepthLimit = 11;
  s.black.cutEmptiesLimit = 16;
  s.white.probCut = 0;
  s.white.cutConfidence = 2000;
  s.white.cutDepthLimit = 9;
  s.white.cutEmptiesLimit = 5;
  return s;
}

}  // namespace

class PlayerSettingsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    messages_.clear();
    dialog_ = std::make_unique<CPlayerSettingsDialog>(distinctSettings());
    dialog_->setMessageHandler([this](const QString& text) { messages_ << text; });
    dialog_->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
  }
  void cleanup() { dialog_.reset(); }

  void showsTheRoutinesAndTheDepths() {
    QCOMPARE(dialog_->windowTitle(), QString("対局者設定"));
    for (int id : {kBlackRoutines, kWhiteRoutines}) {
      auto* list = list_(id);
      QCOMPARE(list->count(), routineCount());
      for (int i = 0; i < routineCount(); ++i) QCOMPARE(list->item(i)->text(), QString::fromUtf8(routineTable[i].name));
    }
    QCOMPARE(list_(kBlackRoutines)->currentRow(), 2);
    QCOMPARE(list_(kWhiteRoutines)->currentRow(), 0);
    QCOMPARE(list_(kBlackRoutines)->item(0)->text(), QString("人間"));
    const QList<QPair<int, QString>> depths = {{kBlackNormalDepth, "7"}, {kBlackExactDepth, "15"},
                                               {kBlackWinDepth, "17"},   {kWhiteNormalDepth, "4"},
                                               {kWhiteExactDepth, "12"}, {kWhiteWinDepth, "14"}};
    for (const auto& [id, text] : depths) QCOMPARE(field(id)->fieldText(), text);
  }

  void probCutControlsShowTheWords() {
    QVERIFY(box(kBlackProbCut)->isVisible());
    QVERIFY(box(kBlackProbCut)->isChecked());
    QVERIFY(!box(kWhiteProbCut)->isChecked());
    QCOMPARE(box(kBlackProbCut)->text(), QString("ProbCutを使用(&D)"));
    QCOMPARE(static_cast<QLabel*>(dialog_->control(kWhiteCutLabel))->text(), QString("Cut値(&L)"));
    const QList<QPair<int, QString>> numbers = {{kBlackCutConfidence, "1200"}, {kBlackCutDepthLimit, "11"},
                                                {kBlackCutEmptiesLimit, "16"}, {kWhiteCutConfidence, "2000"},
                                                {kWhiteCutDepthLimit, "9"},    {kWhiteCutEmptiesLimit, "5"}};
    for (const auto& [id, text] : numbers) {
      QVERIFY(field(id)->isVisible());
      QCOMPARE(field(id)->fieldText(), text);
    }
  }

  void switchingProbCutOnWithNoValuesBringsTheDefaults() {
    for (int id : {kWhiteCutConfidence, kWhiteCutDepthLimit, kWhiteCutEmptiesLimit}) field(id)->setNumber(0);
    box(kWhiteProbCut)->setChecked(true);
    QCOMPARE(field(kWhiteCutConfidence)->fieldText(), QString("1500"));
    QCOMPARE(field(kWhiteCutDepthLimit)->fieldText(), QString("8"));
    QCOMPARE(field(kWhiteCutEmptiesLimit)->fieldText(), QString("4"));
    // Values of the user's own stay.
    box(kBlackProbCut)->setChecked(false);
    field(kBlackCutDepthLimit)->setNumber(0);
    box(kBlackProbCut)->setChecked(true);
    QCOMPARE(field(kBlackCutDepthLimit)->fieldText(), QString("0"));
  }

  void labelsCarryTheirMnemonics() {
    QStringList texts;
    for (QLabel* label : dialog_->findChildren<QLabel*>()) {
      if (label->isVisible()) texts << label->text();
    }
    for (const char* expected :
         {"思考ルーチン(&A)", "通常読みの深さ(&B)", "必勝読みの深さ(&M)", "最終読みの深さ(&C)", "思考ルーチン(&H)",
          "通常読みの深さ(&I)", "必勝読みの深さ(&N)", "最終読みの深さ(&J)", "手"}) {
      QVERIFY2(texts.contains(QString::fromUtf8(expected)), expected);
    }
    QCOMPARE(static_cast<QPushButton*>(dialog_->control(2))->text(), QString("ｷｬﾝｾﾙ"));
  }

  void fieldsAreCheckedOnOk_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");  // empty: accepted
    for (int id : {kBlackNormalDepth, kWhiteExactDepth, kBlackWinDepth, kWhiteWinDepth}) {
      const QString name = QString::number(id);
      QTest::newRow(qPrintable(name + " 61")) << id << "61" << kOutOfRange;
      QTest::newRow(qPrintable(name + " 60")) << id << "60"
                                              << "";
      QTest::newRow(qPrintable(name + " 0")) << id << "0"
                                             << "";
      QTest::newRow(qPrintable(name + " text")) << id << "abc" << kNotAnInteger;
      QTest::newRow(qPrintable(name + " empty")) << id << "" << kNotAnInteger;
    }
    QTest::newRow("cut value 5000") << kWhiteCutConfidence << "5000"
                                    << "";
    QTest::newRow("cut value 5001") << kWhiteCutConfidence << "5001"
                                    << "0 から 5000 までの整数を入力してください。";
    QTest::newRow("ProbCut A 61") << kBlackCutDepthLimit << "61" << kOutOfRange;
    QTest::newRow("ProbCut B 0") << kWhiteCutEmptiesLimit << "0"
                                 << "";
    QTest::newRow("minus one") << kBlackExactDepth << "-1" << kOutOfRange;
    QTest::newRow("beyond int") << kWhiteNormalDepth << "99999999999" << kNotAnInteger;
    QTest::newRow("digits then text") << kWhiteNormalDepth << "12a" << kNotAnInteger;
    QTest::newRow("blanks around") << kWhiteNormalDepth << " 12 "
                                   << "";
  }
  void fieldsAreCheckedOnOk() {
    QFETCH(int, id);
    QFETCH(QString, text);
    QFETCH(QString, message);
    field(id)->setRawText(text);
    dialog_->accept();
    if (message.isEmpty()) {
      QVERIFY(messages_.isEmpty());
      QCOMPARE(dialog_->result(), int(QDialog::Accepted));
      bool ok = false;
      const int number = text.trimmed().toInt(&ok);
      QVERIFY(ok);
      QCOMPARE(settingOf(dialog_->settings(), id), number);
    } else {
      QCOMPARE(messages_, QStringList{message});
      QVERIFY(dialog_->isVisible());
      QCOMPARE(dialog_->focusWidget(), static_cast<QWidget*>(field(id)));
      QVERIFY(dialog_->settings() == distinctSettings());
    }
  }

  void theFirstBadFieldInCheckOrderIsTold() {
    // Checked in the order white exact, black exact, black normal, white
    // normal, black win, white win.
    field(kWhiteWinDepth)->setRawText("");
    field(kBlackNormalDepth)->setRawText("70");
    field(kBlackWinDepth)->setRawText("x");
    dialog_->accept();
    QCOMPARE(messages_, QStringList{kOutOfRange});
    QCOMPARE(dialog_->focusWidget(), static_cast<QWidget*>(field(kBlackNormalDepth)));
    field(kBlackNormalDepth)->setRawText("6");
    dialog_->accept();
    QCOMPARE(messages_.last(), QString(kNotAnInteger));
    QCOMPARE(dialog_->focusWidget(), static_cast<QWidget*>(field(kBlackWinDepth)));
  }

  void okCopiesEveryWord() {
    list_(kWhiteRoutines)->setCurrentRow(1);
    field(kWhiteNormalDepth)->setRawText("9");
    box(kBlackProbCut)->setChecked(false);
    box(kWhiteProbCut)->setChecked(true);
    field(kWhiteCutEmptiesLimit)->setRawText("6");
    static_cast<QPushButton*>(dialog_->control(1))->click();
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    PlayerSettings expected = distinctSettings();
    expected.white.routine = 1;
    expected.white.normalDepth = 9;
    expected.black.probCut = 0;
    expected.white.probCut = 1;
    expected.white.cutEmptiesLimit = 6;
    const SettingsWords got = settingsToWords(dialog_->settings());
    const SettingsWords want = settingsToWords(expected);
    for (int i = 0; i < kSettingsWordCount; ++i) QCOMPARE(got[i], want[i]);
  }

  void cancelKeepsTheWords() {
    list_(kBlackRoutines)->setCurrentRow(0);
    field(kBlackNormalDepth)->setRawText("61");
    static_cast<QPushButton*>(dialog_->control(2))->click();
    QCOMPARE(dialog_->result(), int(QDialog::Rejected));
    QVERIFY(messages_.isEmpty());
  }

  void theListChangesTheCopyAtOnce() {
    list_(kBlackRoutines)->setCurrentRow(1);
    QCOMPARE(dialog_->settings().black.routine, 1);
  }

  void spinButtonsStepWithinTheRange() {
    DepthField* depth = field(kBlackNormalDepth);
    depth->setNumber(59);
    depth->stepBy(1);
    QCOMPARE(depth->fieldText(), QString("60"));
    depth->stepBy(1);
    QCOMPARE(depth->fieldText(), QString("60"));
    depth->setNumber(1);
    depth->setFocus();
    QTest::keyClick(depth, Qt::Key_Down);
    QCOMPARE(depth->fieldText(), QString("0"));
    QTest::keyClick(depth, Qt::Key_Down);
    QCOMPARE(depth->fieldText(), QString("0"));
    QTest::keyClick(depth, Qt::Key_Up);
    QCOMPARE(depth->fieldText(), QString("1"));
  }

  void typingTakesDigitsOnly() {
    DepthField* depth = field(kWhiteExactDepth);
    depth->setNumber(1);
    depth->setFocus();
    auto* edit = depth->findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClicks(edit, "4x-5");
    QCOMPARE(depth->fieldText(), QString("45"));
  }

  // A level fills a side's three depths; the fields stay editable, and the
  // list shows the level of whatever depths they hold, or none.
  void levelsFillTheDepthsAndFollowThem() {
    auto* level = qobject_cast<QComboBox*>(dialog_->control(kBlackLevel));
    QVERIFY(level != nullptr);
    QCOMPARE(level->count(), 1 + kLevelCount);
    QCOMPARE(level->currentIndex(), 0);  // 7, 17 and 15 are no level's depths
    emit level->activated(3);
    QCOMPARE(field(kBlackNormalDepth)->fieldText(), QString("3"));
    QCOMPARE(field(kBlackWinDepth)->fieldText(), QString("0"));
    QCOMPARE(field(kBlackExactDepth)->fieldText(), QString("8"));
    field(kBlackExactDepth)->setRawText(QStringLiteral("9"));
    QCOMPARE(level->currentIndex(), 0);
    field(kBlackExactDepth)->setRawText(QStringLiteral("8"));
    QCOMPARE(level->currentIndex(), 3);
    dialog_->accept();
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    const PlayerSettings& s = dialog_->settings();
    QCOMPARE(s.black.normalDepth, 3);
    QCOMPARE(s.black.winDepth, 0);
    QCOMPARE(s.black.exactDepth, 8);
    QCOMPARE(s.white.normalDepth, 4);  // the other side keeps its own
  }

  // A level by time sets the side's time per move and ProbCut too; a
  // clock is no level's.
  void aLevelByTimeSetsItsTimeAndProbCut() {
    auto* level = qobject_cast<QComboBox*>(dialog_->control(kWhiteLevel));
    auto* mode = qobject_cast<QComboBox*>(dialog_->control(kWhiteTimeMode));
    QVERIFY(level != nullptr && mode != nullptr);
    emit level->activated(11);
    QCOMPARE(mode->currentIndex(), int(TimeMode::PerMove));
    QVERIFY(box(kWhiteProbCut)->isChecked());
    QCOMPARE(level->currentIndex(), 11);
    mode->setCurrentIndex(int(TimeMode::Clock));
    QCOMPARE(level->currentIndex(), 0);
    QVERIFY(!dialog_->control(kWhitePerMove)->isEnabled());
    QVERIFY(dialog_->control(kWhiteClockMinutes)->isEnabled());
    mode->setCurrentIndex(int(TimeMode::PerMove));
    QCOMPARE(level->currentIndex(), 11);
    box(kLoseOnTime)->setChecked(false);
    dialog_->accept();
    const TimeSettings& t = dialog_->times();
    QCOMPARE(int(t.white.mode), int(TimeMode::PerMove));
    QCOMPARE(t.white.perMoveMs, 1000);
    QCOMPARE(int(t.black.mode), int(TimeMode::Depth));
    QVERIFY(!t.loseOnTime);
    QCOMPARE(dialog_->settings().white.normalDepth, kDeepestLevelDepth);
    QCOMPARE(dialog_->settings().white.probCut, 1);
  }

  void aRoutineOutsideTheTableIsKept() {
    PlayerSettings s = distinctSettings();
    s.black.routine = 9;
    CPlayerSettingsDialog dialog(s);
    QCOMPARE(static_cast<QListWidget*>(dialog.control(kBlackRoutines))->currentRow(), -1);
    dialog.accept();
    QCOMPARE(dialog.settings().black.routine, 9);
  }

 private:
  DepthField* field(int id) { return qobject_cast<DepthField*>(dialog_->control(id)); }
  QCheckBox* box(int id) { return qobject_cast<QCheckBox*>(dialog_->control(id)); }
  QListWidget* list_(int id) { return qobject_cast<QListWidget*>(dialog_->control(id)); }
  static int settingOf(const PlayerSettings& s, int id) {
    switch (id) {
      case kBlackNormalDepth: return s.black.normalDepth;
      case kWhiteNormalDepth: return s.white.normalDepth;
      case kBlackExactDepth: return s.black.exactDepth;
      case kWhiteExactDepth: return s.white.exactDepth;
      case kBlackWinDepth: return s.black.winDepth;
      case kWhiteWinDepth: return s.white.winDepth;
      case kWhiteCutConfidence: return s.white.cutConfidence;
      case kBlackCutDepthLimit: return s.black.cutDepthLimit;
      case kWhiteCutEmptiesLimit: return s.white.cutEmptiesLimit;
      default: return -1;
    }
  }

  QStringList messages_;
  std::unique_ptr<CPlayerSettingsDialog> dialog_;
};

}  // namespace kaimo

QTEST_MAIN(kaimo::PlayerSettingsDialogTest)
#include "player_settings_dialog_test.moc"
