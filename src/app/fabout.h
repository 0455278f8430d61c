#pragma once

#include "platform/controlsmade.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace lexitka {

// "O programu": the program's name, version and credits.
class TfrmAbout : public DeferredDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget *parent = nullptr, ControlsMade controls = ControlsMade::Now);

    // Fills the value labels; runs each time the box is shown.
    void FormShow();

public slots:
    void btnOKClick();

protected:
    void showEvent(QShowEvent *event) override;

public:
    QLabel *ProgramIcon = nullptr;
    QLabel *lblProgram = nullptr;
    QLabel *lblVerze = nullptr;
    QLabel *lblAutor = nullptr;
    QLabel *lblGrafika = nullptr;
    QLabel *lblKontakt = nullptr;
    QLabel *lblLicence = nullptr;
    QPushButton *btnOK = nullptr;

private:
    void makeControlsOnce() override;
};

} // namespace lexitka
