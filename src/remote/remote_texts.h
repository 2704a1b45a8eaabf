// The link's texts: messages (UTF-8), protocol lines and the trace marks.
#pragma once

namespace nusari {

inline constexpr const char* kSerialOpenError = "error\n  rs232c is not opened.";
inline constexpr const char* kLanOpenError = "error\n  LAN is not opened.";
inline constexpr const char* kProtocolError = "CSAプロトコル\n通信エラー：";
inline constexpr const char* kThinkingError = "現在思考中\n通信エラー：";
// A move line of the wrong side at that point of the server's game (sent
// twice, or before the server has passed on the computer's move).
inline constexpr const char* kOutOfTurnError = "手番違いの指し手\n通信エラー：";
// What a line longer than kMaxServerLine is shown as, before the limit.
inline constexpr const char* kLineTooLong = "長すぎる行を破棄しました（上限バイト数：";
// Every refused line after the first is counted in the thinking panel:
// "受信エラー（12件）：" and the last one.
inline constexpr const char* kRefusedCountOpen = "受信エラー（";
inline constexpr const char* kRefusedCountClose = "件）：";
// "受信エラー（12件）" under a line received after them.
inline constexpr const char* kRefusedCountTotal = "件）";
inline constexpr const char* kStartBeforeSummary =
    "通信エラー：\nサーバが対局条件（Game_Summary）を送り終える前に対局開始（START）を送りました。\n"
    "行の順序が正しくないため、対局を始めません。";
// The server ended the game, or closed the connection during it.
inline constexpr const char* kServerVerdict = "サーバの通知：";
inline constexpr const char* kConnectionLost = "通信エラー：\nサーバとの接続が切れました";
inline constexpr const char* kReceiveError = "recv() Err.";

inline constexpr const char* kResignLine = "%TORYO\n";
inline constexpr const char* kInterruptLine = "%CHUDAN\n";
inline constexpr const char* kAgreeLine = "AGREE\n";
inline constexpr const char* kLogoutLine = "LOGOUT\n";
inline constexpr const char* kSentMark = "--->";
inline constexpr const char* kReceivedMark = "<---";

}  // namespace nusari
