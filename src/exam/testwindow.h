#pragma once

#include "data/codepage.h"
#include "data/dictionary.h"
#include "platform/controlsmade.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace lexitka {

class Keyboards;
class Messenger;
class Speaker;
class UTest;
struct TypedAnswer;

// What every test window shares: the question panel, the answer box, the
// button "Další", the four scores, Esc, Insert, and the end of the pool.
// Each language's window adds its own controls; the engine judges.
class TestWindow : public DeferredDialog {
    Q_OBJECT
public:
    TestWindow(UTest &test, Keyboards &keyboards, Messenger &messenger, int languageCode, const char *objectName,
               QWidget *parent = nullptr);

    int languageCode() const { return m_languageCode; }
    void setSpeaker(Speaker &speaker) { m_speaker = &speaker; }

    // The button "read aloud" and F5: the foreign word on screen, or while
    // the question is Czech the word answered last.
    void speakWord();
    void updateSpeech();

    // Shows the first question and runs the window modally.
    virtual void Start();
    // Shows the current word, the scores and the kind asked.
    virtual void Display() = 0;

    // Text of the answer box as bytes of its code page.
    QByteArray typedAnswer() const;
    void setAnswer(const QByteArray &bytes);
    // Question panel text, shown by a code page.
    void setQuestion(const QByteArray &bytes, CodePage cp);
    void setAnswerCodePage(CodePage cp) { m_answerCodePage = cp; }
    CodePage answerCodePage() const { return m_answerCodePage; }

public slots:
    virtual void btnOKClick() = 0;

protected:
    // The shared controls; a language's window adds its own after them.
    void makeControlsOnce() override;
    void afterControlsMade() override;
    // Insert released: fill in the expected answer.
    virtual void FormKeyUpInsert() = 0;
    // The answer box changed by the user's typing.
    virtual void edtPrekladChange() { }

    // Writes the four score labels from the engine's counters.
    void ShowScores();
    // Hands the answer to the engine, which judges, counts and shows a
    // mistake; then the next word, or "Lexitka vyčerpána." and close.
    void submit(const TypedAnswer &answer);
    // Takes keys before the controls do (Esc, Insert), wherever the focus is.
    void installKeyPreview();
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    UTest &m_test;
    Keyboards &m_keyboards;
    Messenger &m_messenger;

public:
    QLabel *Label1 = nullptr;
    QLabel *pnlSlovo = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *edtPreklad = nullptr;
    QPushButton *btnOK = nullptr;
    QLabel *lblRemain = nullptr;
    QLabel *lblGood = nullptr;
    QLabel *lblBad = nullptr;
    QLabel *lblPerCent = nullptr;
    QToolButton *btnSpeak = nullptr;

private:
    // Right of "Další", in the score column, wherever the window puts the button.
    void placeSpeechButton();

    Speaker *m_speaker;
    // The voices changed before the controls were made.
    bool m_speechPending = false;
    std::optional<WordRecord> m_answeredLast;
    int m_languageCode;
    CodePage m_answerCodePage = CodePage::Cp1250;
};

} // namespace lexitka
