#pragma once

#include "exam/testwindow.h"
#include "exam/typing.h"

namespace lexitka {

class TypingAid;

// What sets the English, Russian and Latin windows apart.
struct SingleAnswerLanguage {
    int languageCode;
    const char *objectName;
    // English and Latin answer on the Czech layout for the whole test.
    bool czechKeyboardOnStart;
    // Russian: code pages and layout follow the direction of each question.
    bool keyboardPerQuestion;
    // Turns English-layout keys into the foreign letters (empty: none).
    TypingTable typing;
};

// One answer per word: the foreign word and its translation, either way.
class SingleAnswerTestWindow : public TestWindow {
    Q_OBJECT
public:
    SingleAnswerTestWindow(UTest &test, Keyboards &keyboards, Messenger &messenger,
                           const SingleAnswerLanguage &language, QWidget *parent = nullptr);

    void Start() override;
    void Display() override;

    // The code page the question panel shows.
    CodePage questionCodePage() const { return m_questionCodePage; }

public slots:
    void btnOKClick() override;

protected:
    void makeControlsOnce() override;
    void FormKeyUpInsert() override;
    void edtPrekladChange() override;

private:
    // The expected answer of the question on screen.
    const QByteArray &expected() const;

    SingleAnswerLanguage m_language;
    CodePage m_questionCodePage = CodePage::Cp1250;
    TypingAid *m_typingAid = nullptr;
};

class TfrmTestEn final : public SingleAnswerTestWindow {
    Q_OBJECT
public:
    TfrmTestEn(UTest &test, Keyboards &keyboards, Messenger &messenger, QWidget *parent = nullptr,
               ControlsMade controls = ControlsMade::Now);
};

class TfrmTestRu final : public SingleAnswerTestWindow {
    Q_OBJECT
public:
    TfrmTestRu(UTest &test, Keyboards &keyboards, Messenger &messenger, QWidget *parent = nullptr,
               ControlsMade controls = ControlsMade::Now);
};

class TfrmTestLt final : public SingleAnswerTestWindow {
    Q_OBJECT
public:
    TfrmTestLt(UTest &test, Keyboards &keyboards, Messenger &messenger, QWidget *parent = nullptr,
               ControlsMade controls = ControlsMade::Now);
};

} // namespace lexitka
