#include "settings_dialog/stored_options.h"

namespace kpv {

int BackgroundOptionFor(int16_t backGround) { return backGround != 0 ? 1 : 0; }
int EditOptionFor(int16_t edit) { return edit >= 0 && edit < kEditOptions ? edit : 0; }
int CaseOptionFor(int16_t caseValue) { return caseValue > 0 ? 1 : 0; }
bool SubFolderTicked(int16_t subFolder) { return subFolder == 1; }
bool CaseOptionsEnabledFor(int editOption) { return editOption == 1 || editOption == 2; }

}  // namespace kpv
