#pragma once
// Which control state shows a stored setting, and which setting a control state stores. Stored values that
// the dialog never writes are shown as the option that has the same effect in the show, so that pressing OK
// on an untouched dialog keeps the show behaving as before.
#include <cstdint>

namespace kpv {

inline constexpr int kBackgroundOptions = 2;  // 0 random, 1 fixed
inline constexpr int kEditOptions = 4;        // 0 none, 1 monochrome, 2 sepia, 3 random
inline constexpr int kCaseOptions = 2;        // 0 always, 1 sometimes

int BackgroundOptionFor(int16_t backGround);  // the show uses the fixed colour for any value but 0
int EditOptionFor(int16_t edit);              // values outside 0..3 recolour nothing: "none"
int CaseOptionFor(int16_t caseValue);         // above 0 is "sometimes", anything else "always"
bool SubFolderTicked(int16_t subFolder);      // only 1 makes the scan descend

// optEdit_Click: the case options count only for monochrome and sepia.
bool CaseOptionsEnabledFor(int editOption);

}  // namespace kpv
