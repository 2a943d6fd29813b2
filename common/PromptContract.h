#pragma once
// What a caller and the skinned prompt agree on: the modes (the ids of the face
// pictures), the results, the macro chooser's repeat options, and the captions of
// the busy indicator. Plain values, so the Qt-free model and the widgets share them.
namespace pallix::prompt {

inline constexpr int kNoMode = 0;
inline constexpr int kNameEntry = 125;
inline constexpr int kResetWarning = 248;
inline constexpr int kMessage = 251;
inline constexpr int kConfirmation = 287;
inline constexpr int kProfileSaveWarning = 353;
inline constexpr int kBattleModeNotice = 447;
inline constexpr int kLeftButtonWarning = 448;
inline constexpr int kFunctionChooser = 469;
inline constexpr int kMacroChooser = 470;
inline constexpr int kCountEntry = 474;

inline constexpr int kResultOk = 1;      // OK or YES
inline constexpr int kResultCancel = 2;  // CANCEL, or the window closed

inline constexpr int kRepeatNone = -1;
inline constexpr int kRepeatOnce = 0;
inline constexpr int kRepeatMultiple = 1;
inline constexpr int kRepeatHold = 2;
inline constexpr int kRepeatUntilNext = 3;

}  // namespace pallix::prompt

namespace pallix::busy {

inline constexpr int kCaptionReading = 417;  // loading the mouse's memory
inline constexpr int kCaptionWriting = 145;  // transfers that write to the mouse

}  // namespace pallix::busy
