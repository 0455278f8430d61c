#include "fmain.h"

namespace lexitka {

void TfrmMain::btnErrorsClick() {}
void TfrmMain::btnClearErrorsClick() {}
bool TfrmMain::LoadLekce() { return false; }

} // namespace lexitka
