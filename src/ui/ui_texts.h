// The window's own texts (UTF-8).
#pragma once

namespace nusari {

inline constexpr const char* kProgramTitle = "ぬさり将棋";
inline constexpr const char* kVersionLine = "NusarSyougi  Ver91";

// Rows of the start-position list taikyoku_teai, by preset index.
inline constexpr const char* kPresetNames[] = {
    "継続----",         "平手",
    "飛落ち",           "角落ち",
    "飛角落ち",         "矢倉　ｖｓ　矢倉",
    "居飛　ｖｓ　振り", "横歩　ｖｓ　85飛",
    "振り　ｖｓ　振り", "士歩戦",
    "無歩戦",           "相王戦",
    "大安戦",
};

inline constexpr const char* kGameStartText = "対局開始";
inline constexpr const char* kPromoteQuestion = "成りますか？";
inline constexpr const char* kNameCommandDone = "Ok";
inline constexpr const char* kComputerResigns = "投了します";
inline constexpr const char* kHumanLeftInCheck = "あなたの負け：王手放置";
// A clock has run out (the last second of byoyomi spent).
inline constexpr const char* kHumanTimeUp = "時間切れ：あなたの負けです";
inline constexpr const char* kComputerTimeUp = "時間切れ：COMの負けです";
inline constexpr const char* kSecondPersonTimeUp = "時間切れ：相手の負けです";
// The same position for the fourth time: a draw, unless one side gave
// check with every move since it first stood; that side loses.
inline constexpr const char* kRepetitionDraw = "千日手：引き分けです";
inline constexpr const char* kPerpetualCheckLoss = "連続王手の千日手：王手をかけ続けた側の負けです";
// The history holds 999 plies; a game that reaches them stops here.
inline constexpr const char* kPlyLimitReached = "999手に達したため対局を中断します";
// Followed by the move's from and to.
inline constexpr const char* kImpossibleReply = "思考エラー：指せない手のため対局を中断します：";

inline constexpr const char* kResignQuestion = "投了しますか？";
inline constexpr const char* kDeclareQuestion = "入玉宣言しますか？";
inline constexpr const char* kHumanDeclarationWins = "入玉宣言：あなたの勝ちです";
inline constexpr const char* kHumanDeclarationFails = "入玉宣言の条件を満たしていません：あなたの負けです";
// A move the rules at the board refuse: it is not played.
inline constexpr const char* kRefusedLeftInCheck = "王手放置になるため指せません";
inline constexpr const char* kRefusedPawnDropMate = "打ち歩詰めになるため指せません";
inline constexpr const char* kInterruptQuestion = "中断しますか？";
inline constexpr const char* kReplayText = "棋譜再生中";
// A candidate line of 検討 previewed on the board: "読み筋 2 / 7".
inline constexpr const char* kPreviewText = "読み筋 ";
inline constexpr const char* kNothingToExplain = "比べる読み筋がありません";
inline constexpr const char* kPreviewHint = "(Esc で棋譜に戻る)";
// The name the save dialog proposes.
inline constexpr const char* kNewRecordName = "新規棋譜.csa";
// Shown in the thinking panel, so that an unattended match goes on: the
// failed name, then where the game went instead, or that it is kept.
inline constexpr const char* kAutosaveFailed = "連続対局\n棋譜の自動保存に失敗：";
inline constexpr const char* kAutosaveSavedElsewhere = "\n代わりに保存しました：";
inline constexpr const char* kAutosaveKept = "\n棋譜は連続対局の終わりに保存先を尋ねます";
// Told when the match ends: the games saved elsewhere (each followed by its
// path) and the number of games kept, whose save dialogs follow.
inline constexpr const char* kAutosaveReport = "連続対局\n自動保存できなかった棋譜があります";
inline constexpr const char* kAutosaveReportElsewhere = "\n別の場所に保存しました：";
inline constexpr const char* kAutosaveReportKept = "\n保存できなかった棋譜：";
inline constexpr const char* kAutosaveReportKeptTail = "局（保存先を選んでください）";
// Asked when a kept game's save dialog is cancelled; followed by its name.
inline constexpr const char* kDiscardGameQuestion = "この棋譜を保存せずに捨てますか？\n";
// Shown while a continuous match waits before the computer's first move.
inline constexpr const char* kMatchPauseText = "連続対局\n次の対局を30秒後に開始します";
// The match in the title and the panel: this, then "game/total".
inline constexpr const char* kMatchHeading = "連続対局 ";
// After the match line while a kept match waits for the next start.
inline constexpr const char* kMatchKeptNote = "（中断中）";
// Asked after 中断 during a match: yes ends it, no keeps it for the next start.
inline constexpr const char* kEndMatchQuestion =
    "連続対局を終了しますか？\n（いいえ：次の対局開始で続きから再開します）";

inline constexpr const char* kNoAikFolder = "aikフォルダが存在しません";
inline constexpr const char* kNotANumber = "数値を設定して下さい";
inline constexpr const char* kHashReset = "再設定します Hash = ";
// Asked before a record with changes is replaced or the window closes.
inline constexpr const char* kSaveChangesQuestion = "棋譜が変更されています。保存しますか？";
// Asked before a branch and what follows it are deleted.
inline constexpr const char* kDeleteBranchQuestion = "この分岐以降の指し手を削除しますか？";
inline constexpr const char* kCloseDuringGame = "対局中です\n終了しますか？";
inline constexpr const char* kVersionBoxText =
    "NusarSyougi  Ver91\n\nコンピュータ将棋対局プログラム\nQt 6 版";

// 棋譜解析 in the window.
inline constexpr const char* kAnalysingRecord = "棋譜解析中 ";
inline constexpr const char* kAnalysisNoScore = "エンジンが評価値を返しませんでした: ";
inline constexpr const char* kAnalysisNotWritten = "解析した棋譜を保存できません";
inline constexpr const char* kFolderAnalysed = "解析した棋譜: ";
inline constexpr const char* kFolderSkipped = "解析済みで飛ばした棋譜: ";
inline constexpr const char* kFolderFailed = "解析できなかった棋譜: ";
inline constexpr const char* kAnalysisDone = "棋譜解析が終わりました";
inline constexpr const char* kAnalysisStopped = "棋譜解析を中止しました";
inline constexpr const char* kAnalysisEngineFailed = "解析するエンジンを起動できません：";

// The second person of a game between two people at the board.
inline constexpr const char* kSecondPerson = "相手";

// 連続対局 of engines.
inline constexpr const char* kTournamentTooFew = "連続対局には2つ以上のエンジンと1局以上の対局数が必要です";
inline constexpr const char* kTournamentNoTime = "連続対局には持ち時間か秒読みが必要です";
inline constexpr const char* kTournamentBadOpenings = "開始局面のファイルが読めません：";
inline constexpr const char* kTournamentOtherResults = "このフォルダには別の連続対局の結果があります：";
inline constexpr const char* kTournamentUnreadable = "結果ファイルが読めません";
inline constexpr const char* kTournamentNoFolder = "保存先のフォルダを作れません：";
inline constexpr const char* kComputersNoStart = "COM同士の対局はこの局面から始められません：";
inline constexpr const char* kComputersSameClock = "COM同士の対局は先手・後手とも同じ持ち時間にしてください";
inline constexpr const char* kTournamentRunning = "連続対局の実行中です";
inline constexpr const char* kTournamentEngineMissing = "登録されていないエンジンです：";

}  // namespace nusari
