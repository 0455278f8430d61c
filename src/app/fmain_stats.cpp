#include "fmain.h"

#include "app/application.h"

#include <QCheckBox>

namespace lexitka {

void TfrmMain::btnTestClick()
{
    if (!LoadLekce())
        return;
    UTest &test = m_app.test();
    test.SaveErrors = chbSaveErrors->isChecked();
    test.StartTest(test.LanguageCode);
}

void TfrmMain::btnStatistikaClick() {}
void TfrmMain::btnClearStatistikaClick() {}

} // namespace lexitka
