// The link's texts: messages (UTF-8), protocol lines and the trace marks.
#pragma once

namespace nusari {

inline constexpr const char* kSerialOpenError = "error\n  rs232c is not opened.";
inline constexpr const char* kLanOpenError = "error\n  LAN is not opened.";
inline constexpr const char* kProtocolError = "CSAプロトコル\n通信エラー：";
inline constexpr const char* kThinkingError = "現在思考中\n通信エラー：";
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
