#pragma once
// Control ids and menu command ids of the main window and its two dialogs (also used by the
// end-to-end tests).
namespace floppex::ids {

inline constexpr int kLblFilename = 101;
inline constexpr int kLblInfo = 102;
inline constexpr int kLvGame = 103;
inline constexpr int kCmdPlay = 104;

inline constexpr int kMnuOpen = 201;
inline constexpr int kMnuOnTop = 202;
inline constexpr int kMnuKeepOpen = 203;
inline constexpr int kMnuMult = 204;
inline constexpr int kMnuOptions = 205;
inline constexpr int kMnuHelp = 206;
inline constexpr int kMnuAbout = 207;
inline constexpr int kMnuExit = 208;
inline constexpr int kMnuC64Font = 209;
inline constexpr int kMnuC64LowerCase = 210;
inline constexpr int kMnuCopyDirectory = 211;

// Entry i of the emulator popup menu is kPmnuEmuFirst + i, i from 0 to 10.
inline constexpr int kPmnuEmuFirst = 300;

// The options dialog; OK and Cancel are IDOK and IDCANCEL.
inline constexpr int kLstEmu = 401;
inline constexpr int kLblEmu = 402;
inline constexpr int kCmdClearEmu = 403;
inline constexpr int kLblWinzipPath = 404;
inline constexpr int kCmdClearWZPath = 405;

// The about box; OK is IDOK.
inline constexpr int kImgLogo = 501;
inline constexpr int kLblWeb = 502;
inline constexpr int kLblMail = 503;

}  // namespace floppex::ids
