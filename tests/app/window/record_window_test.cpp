// The window around its game records, on the offscreen platform: the title,
// the recent files (kept in Qt's settings, here the test profile), the
// question before unsaved work is thrown away, an edited board saved and
// read back, and Qt's own dialogs speaking Japanese.
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "app/window/board_geometry.h"
#include "app/window/commands.h"
#include "app/window/main_frame.h"
#include "app/window/product.h"
#include "app/window/qt_translations.h"

namespace kaimo {
namespace {

using namespace geometry;

PlayerSettings twoHumans() {
  PlayerSettings s = PlayerSettings::defaults();
  s.black.routine = 0;
  s.white.routine = 0;
  return s;
}

int squareNamed(const char* name) { return squareAt(name[0] - 'a', std::atoi(name + 1) - 1); }
QPoint squareCentre(int square) { return {squareLeft(square) + kCell / 2, squareTop(square) + kCell / 2}; }

bool writeFile(const QString& path, const QByteArray& text) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Some character of the Japanese scripts: Qt's English texts have none.
bool isJapanese(const QString& text) {
  for (QChar c : text) {
    if (c.unicode() >= 0x3000) return true;
  }
  return false;
}

}  // namespace

class RecordWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QApplication::setOrganizationName(QString::fromUtf8(product::kOrganisation));
    QApplication::setApplicationName(QString::fromUtf8(product::kName));
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(useQtLanguage(Language::Japanese));
  }

  void init() {
    QSettings().clear();
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    messages_.clear();
    questions_ = 0;
    openPath_.clear();
    savePath_.clear();
    makeFrame();
  }
  void cleanup() { frame_.reset(); }

  void theTitleNamesTheRecord() {
    const QString suffix = QStringLiteral(" - Kaimo");
    QCOMPARE(frame_->windowTitle(), "無題" + suffix);
    openPath_ = file("game.txt", "d5d4");
    frame_->action(Command::OpenRecord)->trigger();
    QCOMPARE(frame_->windowTitle(), "game.txt" + suffix);
    savePath_ = dir_->filePath("対局.txt");
    frame_->action(Command::SaveRecord)->trigger();
    QCOMPARE(frame_->windowTitle(), "対局.txt" + suffix);
    frame_->action(Command::ClearBoard)->trigger();
    QCOMPARE(frame_->windowTitle(), "無題" + suffix);
  }

  void recentFilesAreTheLastFourNewestFirst() {
    QVERIFY(shownRecentFiles().isEmpty());
    QAction* placeholder = frame_->action(Command::RecentFiles);
    QVERIFY(placeholder->isVisible() && !placeholder->isEnabled());

    const QByteArray moves[] = {"", "d5", "d5d4", "d5d4d3", "d5d4d3c3"};
    QStringList paths;
    for (int i = 0; i < 5; ++i) {
      paths.prepend(file(QStringLiteral("game%1.txt").arg(i), moves[i]));
      openPath_ = paths.first();
      frame_->action(Command::OpenRecord)->trigger();
    }
    QCOMPARE(shownRecentFiles(), paths.mid(0, 4));
    QVERIFY(!placeholder->isVisible());

    // A file with nothing of a record in it is refused, the game stays, and
    // it does not join them.
    openPath_ = file(QStringLiteral("random.txt"), QByteArray("hello world \xe2\x99\xa5 zz99"));
    frame_->action(Command::OpenRecord)->trigger();
    QCOMPARE(messages_, QStringList{"正しくない棋譜です。"});
    QCOMPARE(game().game().history().size(), std::size_t(5));
    QCOMPARE(shownRecentFiles(), paths.mid(0, 4));
    messages_.clear();

    // A click opens its file, which becomes the newest.
    recentEntry(3)->trigger();
    QCOMPARE(game().game().history().size(), std::size_t(3));
    QCOMPARE(shownRecentFiles(), (QStringList{paths[2], paths[0], paths[1], paths[3]}));

    // A file that has gone is said so and leaves the list.
    QVERIFY(QFile::remove(paths[1]));
    recentEntry(3)->trigger();
    QCOMPARE(messages_, QStringList{"ファイルが開けません。"});
    QCOMPARE(shownRecentFiles(), (QStringList{paths[2], paths[0], paths[3]}));
    QCOMPARE(game().game().history().size(), std::size_t(3));

    // The list outlives the window.
    makeFrame();
    QCOMPARE(shownRecentFiles(), (QStringList{paths[2], paths[0], paths[3]}));
  }

  void unsavedWorkIsOnlyThrownAwayWhenTheUserSays_data() {
    QTest::addColumn<bool>("closing");  // else opening another record
    QTest::addColumn<bool>("played");
    QTest::addColumn<int>("answer");
    for (bool closing : {false, true}) {
      const char* how = closing ? "close" : "open";
      QTest::addRow("%s, Yes saves", how) << closing << true << int(Answer::Yes);
      QTest::addRow("%s, No discards", how) << closing << true << int(Answer::No);
      QTest::addRow("%s, Cancel keeps everything", how) << closing << true << int(Answer::Cancel);
      QTest::addRow("%s, nothing to save: no question", how) << closing << false << int(Answer::Cancel);
    }
  }
  void unsavedWorkIsOnlyThrownAwayWhenTheUserSays() {
    QFETCH(bool, closing);
    QFETCH(bool, played);
    QFETCH(int, answer);
    answer_ = static_cast<Answer>(answer);
    openPath_ = file("other.txt", "d5d4d3");
    savePath_ = dir_->filePath("saved.txt");
    if (played) playMoves({"d5"});
    const History before = game().game().history();

    if (closing) {
      frame_->close();
    } else {
      frame_->action(Command::OpenRecord)->trigger();
    }
    const bool thrownAway = !played || answer_ != Answer::Cancel;
    QCOMPARE(questions_, played ? 1 : 0);
    QCOMPARE(readFile(savePath_), played && answer_ == Answer::Yes ? QByteArray("d5") : QByteArray("(missing)"));
    if (closing) {
      QCOMPARE(frame_->isVisible(), !thrownAway);
    } else {
      QCOMPARE(game().game().history().size(), thrownAway ? std::size_t(4) : before.size());
    }
    if (!thrownAway) {
      QVERIFY(game().game().history() == before);
      QCOMPARE(game().game().cursor(), 1);
      QCOMPARE(game().game().board(), before[1].board);
    }
  }

  // Edited at the second position of a three-move game: the record ends
  // with the edited board and its side to move.
  void anEditedBoardIsSavedAndReadBack() {
    playMoves({"d5", "d4", "d3"});
    frame_->action(Command::First)->trigger();
    frame_->action(Command::Next)->trigger();
    frame_->action(Command::Next)->trigger();
    frame_->action(Command::EditBoard)->trigger();
    QTest::mouseClick(frame_->view(), Qt::LeftButton, {}, squareCentre(squareNamed("a1")));
    QTest::mouseClick(frame_->view(), Qt::RightButton, {}, squareCentre(squareNamed("j10")));
    QTest::mouseClick(frame_->view(), Qt::LeftButton, {}, {kIndicatorX + 4, kWhiteIndicatorY + 4});
    frame_->action(Command::EditBoard)->trigger();
    const Board edited = game().game().board();
    const History played = game().game().history();
    QCOMPARE(game().game().side(), kWhite);

    savePath_ = dir_->filePath("edited.txt");
    frame_->action(Command::SaveRecord)->trigger();
    QVERIFY(messages_.isEmpty());
    QCOMPARE(game().game().history().size(), std::size_t(3));
    QCOMPARE(game().game().board(), edited);

    frame_->action(Command::ClearBoard)->trigger();
    openPath_ = savePath_;
    frame_->action(Command::OpenRecord)->trigger();
    QVERIFY(messages_.isEmpty());
    const History& read = game().game().history();
    QCOMPARE(read.size(), std::size_t(3));
    QVERIFY(read[0] == played[0] && read[1] == played[1]);
    QCOMPARE(read[2].board, edited);
    QCOMPARE(read[2].side, kWhite);
  }

  void qtsOwnDialogsSpeakJapanese() {
    frame_->dialogs().setFileChooser(nullptr);
    frame_->dialogs().setQuestionHandler(nullptr);
    QStringList texts;
    QTimer::singleShot(0, this, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
        if (auto* label = dialog->findChild<QLabel*>(name)) texts << label->text();
      }
      for (QAbstractButton* button : dialog->findChild<QDialogButtonBox*>()->buttons()) texts << button->text();
      dialog->reject();
    });
    frame_->action(Command::OpenRecord)->trigger();
    QTimer::singleShot(0, this, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      for (QAbstractButton* button : box->buttons()) texts << button->text();
      box->button(QMessageBox::No)->click();
    });
    frame_->action(Command::ClearBoard)->trigger();
    QCOMPARE(texts.size(), 7);  // three labels, open and cancel, yes and no
    for (const QString& text : texts) QVERIFY2(isJapanese(text), qPrintable(text));
  }

 private:
  GameController& game() { return frame_->controller(); }

  void makeFrame() {
    frame_ = std::make_unique<CMainFrame>(settings_);
    WindowDialogs* dialogs = &frame_->dialogs();
    dialogs->setMessageHandler([this](const QString& text) { messages_ << text; });
    dialogs->setQuestionHandler([](const QString&) { return true; });
    dialogs->setChoiceHandler([this](const QString&) {
      ++questions_;
      return answer_;
    });
    dialogs->setFileChooser([this](RecordFileUse use) { return use == RecordFileUse::Open ? openPath_ : savePath_; });
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
  }

  QString file(const QString& name, const QByteArray& text) {
    const QString path = dir_->filePath(name);
    if (!writeFile(path, text)) qFatal("cannot write %s", qPrintable(path));
    return path;
  }

  void playMoves(std::initializer_list<const char*> moves) {
    frame_->action(Command::Start)->trigger();
    QTRY_COMPARE(game().mode(), ViewMode::Playing);
    for (const char* move : moves) {
      const std::size_t size = game().game().history().size();
      QTest::mouseClick(frame_->view(), Qt::LeftButton, {}, squareCentre(squareNamed(move)));
      QTRY_COMPARE(game().game().history().size(), size + 1);
    }
    frame_->action(Command::Pause)->trigger();
  }

  QAction* recentEntry(int number) const {
    return frame_->findChild<QAction*>(QStringLiteral("recentFile%1").arg(number));
  }

  // The entries the file menu shows, by their full paths.
  QStringList shownRecentFiles() const {
    QStringList shown;
    for (int number = 1; number <= RecentFiles::kMaxCount; ++number) {
      QAction* entry = recentEntry(number);
      if (entry != nullptr && entry->isVisible()) shown << entry->statusTip();
    }
    return shown;
  }

  PlayerSettings settings_ = twoHumans();
  std::unique_ptr<QTemporaryDir> dir_;
  QStringList messages_;
  int questions_ = 0;
  Answer answer_ = Answer::Cancel;
  QString openPath_;
  QString savePath_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace kaimo

QTEST_MAIN(kaimo::RecordWindowTest)
#include "record_window_test.moc"
