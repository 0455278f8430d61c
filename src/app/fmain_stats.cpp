#include "fmain.h"

namespace lexitka {

void TfrmMain::btnStatistikaClick() {}
void TfrmMain::btnClearStatistikaClick() {}

} // namespace lexitka
