#pragma once

#include "exam/articlewindow.h"

namespace lexitka {

class TfrmTestFr final : public ArticleTestWindow {
    Q_OBJECT
public:
    TfrmTestFr(UTest &test, Keyboards &keyboards, Messenger &messenger, QWidget *parent = nullptr,
               ControlsMade controls = ControlsMade::Now);
};

} // namespace lexitka
