#include "app/window/command_table.h"

namespace kaimo {

const std::vector<CommandInfo>& commandTable() {
  using namespace command;
  static const std::vector<CommandInfo> table = {
      {kOpenRecord, "棋譜を開く(&O)", "Ctrl+O", "棋譜を開きます\n棋譜を開く"},
      {kSaveRecord, "棋譜を保存(&S)", "Ctrl+S", "棋譜を保存します\n棋譜を保存"},
      {kCopyRecord, "棋譜をコピー(&C)", "Ctrl+C", "棋譜をクリップボードにコピーします\n棋譜をコピー"},
      {kPasteRecord, "棋譜を貼り付け(&V)", "Ctrl+V", "クリップボードの棋譜または手順を読み込みます\n棋譜を貼り付け"},
      {kSaveBoardPicture, "盤面を画像で保存(&G)...", "Ctrl+I", "盤面を座標付きのPNG画像で保存します\n盤面を画像で保存"},
      {kExit, "アプリケーションの終了(&X)", "", "アプリケーションを終了します\n終了"},
      {kPlayerSettings, "対局者設定(&P)", "Ctrl+Q", "思考ルーチン設定\n思考ルーチン設定"},
      {kStart, "対局を開始(&B)", "Ctrl+B", "対局を開始\n対局開始"},
      {kPause, "一時停止(&S)", "Ctrl+G", "一時停止\n一時停止"},
      {kTakeBack, "待った(&Z)", "Ctrl+Z", "コンピュータと対局中なら自分の前の手番に戻って続けます\n待った"},
      {kClearBoard, "盤面をクリア(&C)", "", "盤面をクリアして新しいゲームを開始\n盤面をクリア"},
      {kPrevious, "前へ(&P)", "Left", "一手戻る\n一手戻る"},
      {kNext, "次へ(&N)", "Right", "一つ次へ移動\n次へ移動"},
      {kFirst, "最初に移動(&I)", "Ctrl+Left", "最初に戻る\n最初に戻る"},
      {kLast, "最後へ移動(&L)", "Ctrl+Right", "最後へ移動\n最後へ移動"},
      {kRotate, "回転(&T)", "Ctrl+T", "盤面を回転\n盤面を回転"},
      {kMirror, "裏返し(&U)", "Ctrl+U", "盤面を裏返す\n盤面を裏返す"},
      {kEditBoard, "盤面編集(&E)", "Ctrl+E", "盤面を編集する\n盤面を編集"},
      {kEvaluationValues, "評価値(&F)", "Ctrl+F", "現在の盤面の評価値を各ルーチンごとに算出\n評価値を算出"},
      {kEndgameAnalysis, "終盤解析(&S)", "Ctrl+K", "終盤解析\n終盤解析"},
      {kHint, "ヒント(&H)", "Ctrl+H", "手番の側の最善手と各手の評価値を表示\nヒント"},
      {kReview, "対局を検討(&R)", "Ctrl+R", "対局の各手を最善手と比べ、グラフと悪手の一覧に示します\n対局を検討"},
      {kToggleToolBar, "ツールバー(&T)", "", "ツールバーの表示/非表示を切り替えます\nツールバーの表示切り替え"},
      {kToggleStatusBar, "ステータスバー(&S)", "", "ステータスバーの表示/非表示を切り替えます\nステータスバーの表示切り替え"},
      {kToggleStudyColumn, "棋譜とグラフ(&G)", "", "盤の右の棋譜と評価グラフの表示/非表示を切り替えます\n棋譜とグラフの表示切り替え"},
      {kModelessPassNotices, "パスの知らせで対局を止めない(&P)", "",
       "パスの知らせを閉じるのを待たずに対局を続けます\nパスの知らせで止めない"},
      {kUseBook, "定石を使う(&J)", "", "コンピュータは定石にある局面で定石の手から打ちます\n定石を使う"},
      {kAbout, "Kaimo のバージョン情報(&A)...", "", "プログラムのバージョンを表示します\nバージョン情報"},
      {kRecentFiles, "最近使ったファイル", "", ""},
  };
  return table;
}

const CommandInfo* findCommand(int id) {
  for (const CommandInfo& info : commandTable()) {
    if (info.id == id) return &info;
  }
  return nullptr;
}

const std::vector<MenuInfo>& menuBarLayout() {
  using namespace command;
  static const std::vector<MenuInfo> layout = {
      {"ﾌｧｲﾙ(&F)",
       {kOpenRecord, kSaveRecord, kSeparator, kCopyRecord, kPasteRecord, kSaveBoardPicture, kSeparator, kRecentFiles,
        kSeparator, kExit}},
      {"設定(&C)", {kPlayerSettings}},
      {"ナビゲート(&N)", {kStart, kPause, kTakeBack, kSeparator, kClearBoard, kSeparator, kPrevious, kNext, kFirst, kLast}},
      {"研究(&S)", {kRotate, kMirror, kEditBoard, kSeparator, kEvaluationValues, kEndgameAnalysis, kHint, kSeparator,
                  kReview}},
      {"表示(&V)", {kToggleToolBar, kToggleStatusBar, kToggleStudyColumn, kSeparator, kModelessPassNotices, kUseBook}},
      {"ﾍﾙﾌﾟ(&H)", {kAbout}},
  };
  return layout;
}

const std::vector<int>& toolBarLayout() {
  using namespace command;
  static const std::vector<int> layout = {
      kLast, kNext, kPause, kPrevious, kFirst, kSeparator, kClearBoard, kSeparator,
      kStart, kPlayerSettings, kSeparator, kEditBoard, kSeparator, kEndgameAnalysis, kHint, kSeparator, kTakeBack,
  };
  return layout;
}

}  // namespace kaimo
