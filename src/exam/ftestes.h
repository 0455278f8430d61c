#pragma once

#include "exam/articlewindow.h"

namespace lexitka {

class TfrmTestEs final : public ArticleTestWindow {
    Q_OBJECT
public:
    TfrmTestEs(UTest &test, Keyboards &keyboards, Messenger &messenger, QWidget *parent = nullptr,
               ControlsMade controls = ControlsMade::Now);
};

} // namespace lexitka
