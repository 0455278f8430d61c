#pragma once

#include "exam/articlewindow.h"

namespace lexitka {

class TfrmTestEs final : public ArticleTestWindow {
    Q_OBJECT
public:
    TfrmTestEs(UTest &test, Keyboards &keyboards, Messenger &messenger, QWidget *parent = nullptr,
               ControlsBuilt controls = ControlsBuilt::Now);
};

} // namespace lexitka
