#pragma once

#include "data/codepage.h"
#include "editor/findsearch.h"
#include "platform/controlsmade.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lexitka {

class Keyboards;
class Messenger;
class TfrmViewEdt;
class TypingAid;

// "Hledat": steps through the words of the lesson browser that hold a
// text, without blocking the browser, and stays on top of it.
class TfrmFind : public DeferredDialog {
    Q_OBJECT
public:
    TfrmFind(TfrmViewEdt &browser, Keyboards &keyboards, Messenger &messenger,
             ControlsMade controls = ControlsMade::Now);
    ~TfrmFind() override;

    // Shows the dialog without waiting for it, or brings it to the front.
    void showFind();
    // Back to the first word of the first lesson.
    void ResetPosition() { m_position = {}; }
    const FindPosition &position() const { return m_position; }
    // The code page the search text is typed and searched in.
    CodePage codePage() const { return m_codePage; }

public slots:
    void btnNextClick();
    void btnCancelClick();
    void Button1Click();
    void Button2Click();
    void edtFindChange();

private:
    void makeControlsOnce() override;
    void setCodePage(CodePage cp);
    // The typing aid follows the keyboard choice and the language.
    void chooseKeyboardTyping();

    TfrmViewEdt &m_browser;
    Keyboards &m_keyboards;
    Messenger &m_messenger;
    FindPosition m_position;
    CodePage m_codePage = CodePage::Cp1250;
    bool m_foreign = false;
    TypingAid *m_typing = nullptr;

public:
    QLabel *Label1 = nullptr;
    QLineEdit *edtFind = nullptr;
    QPushButton *btnNext = nullptr;
    QPushButton *btnCancel = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
};

} // namespace lexitka
