#pragma once

#include "exam/testwindow.h"

class QCheckBox;
class QComboBox;
class QWidget;

namespace lexitka {

// The German test window: both directions with the article, plurals, and
// the principal forms of irregular verbs.
class TfrmTestDe final : public TestWindow {
    Q_OBJECT
public:
    TfrmTestDe(UTest &test, Keyboards &keyboards, Messenger &messenger, QWidget *parent = nullptr,
               ControlsMade controls = ControlsMade::Now);

    void Start() override;
    void Display() override;
    // Shows or hides the verb-form panel; the window grows or shrinks by its height.
    void ShowPanel(bool show);

    static constexpr int kPanelHeight = 64;
    static constexpr int kHeightWithPanel = 265;
    static constexpr int kButtonTopWithPanel = 200;

public slots:
    void btnOKClick() override;
    void chbNepravidelneClick();
    void chbPritomnyClick();

protected:
    void makeControlsOnce() override;
    void FormKeyUpInsert() override;
    void edtPrekladChange() override;

public:
    QLabel *Label2 = nullptr;
    QComboBox *cmbclen = nullptr;
    QLabel *Label4 = nullptr;
    QCheckBox *chbNepravidelne = nullptr;
    QWidget *Panel = nullptr;
    QCheckBox *chbPritomny = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label9 = nullptr;
    QLineEdit *edtPritomny = nullptr;
    QLabel *Label6 = nullptr;
    QLineEdit *edtPreteritum = nullptr;
    QLabel *Label7 = nullptr;
    QLineEdit *edtPerfektum = nullptr;
    QLabel *Label8 = nullptr;
};

} // namespace lexitka
