#pragma once

#include "data/codepage.h"
#include "data/dictionary.h"
#include "platform/controlsmade.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lexitka {

class Keyboards;
class Messenger;
class TypingAid;

// "Slovíčko": one word typed in or changed, set up by the language.
class TfrmWord : public DeferredDialog {
    Q_OBJECT
public:
    // Modal results: only Yes ("OK") confirms; "Storno" gives No, the close box Cancel.
    enum Result { ResultCancel = 0, ResultYes = 1, ResultNo = 2 };

    TfrmWord(Keyboards &keyboards, Messenger &messenger, QWidget *parent = nullptr,
             ControlsMade controls = ControlsMade::Now);
    ~TfrmWord() override;

    // Fills the dialog from word, runs it modally and writes the fields back
    // into word whatever the outcome; true when confirmed with "OK".
    bool StartWord(WordRecord &word, int languageCode);

public slots:
    void Button1Click();
    void Button2Click();
    void edtSlovoChange();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void makeControlsOnce() override;
    void FormShow();
    // Keyboard layout on entering a field; only a move of the focus from
    // one control to another is entering.
    void entered(QWidget *control);
    void edtSlovoEnter();
    void edtMnEnter();
    void edtPrekladEnter();

    Keyboards &m_keyboards;
    Messenger &m_messenger;
    int m_language = LangEnglish;
    CodePage m_wordCodePage = CodePage::Cp1250;
    TypingAid *m_typing = nullptr;
    QWidget *m_entered = nullptr; // the control the focus is in, to see it enter another

public:
    QLabel *Label1 = nullptr;
    QComboBox *cmbclen = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *edtSlovo = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *edtMn = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *edtPreklad = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
};

} // namespace lexitka
