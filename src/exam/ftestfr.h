#pragma once

#include "exam/articlewindow.h"

namespace lexitka {

class TfrmTestFr final : public ArticleTestWindow {
    Q_OBJECT
public:
    TfrmTestFr(UTest &test, Keyboards &keyboards, Messenger &messenger, QWidget *parent = nullptr,
               ControlsBuilt controls = ControlsBuilt::Now);
};

} // namespace lexitka
