#include "fmain.h"

namespace lexitka {

void TfrmMain::Vytvoitnov1Click() {}
void TfrmMain::Otevt1Click() {}
void TfrmMain::Uloitjako1Click() {}
void TfrmMain::Import1Click() {}
void TfrmMain::btnAboutClick() {}

} // namespace lexitka
