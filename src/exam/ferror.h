#pragma once

#include "data/codepage.h"

#include <QByteArray>
#include <QDialog>

class QLabel;
class QPushButton;
class QToolButton;

namespace lexitka {

class Speaker;

// The mistake dialog shown after every wrong answer.
class TfrmError : public QDialog {
    Q_OBJECT
public:
    explicit TfrmError(QWidget *parent = nullptr);

    // Code page of the two answer labels, set per mistake.
    void setAnswerCodePage(CodePage cp) { m_answerCodePage = cp; }
    CodePage answerCodePage() const { return m_answerCodePage; }

    // The right answer as read aloud (empty when it is Czech), in the
    // dictionary's language; set per mistake.
    void setSpeaker(Speaker &speaker) { m_speaker = &speaker; }
    void setSpokenAnswer(const QString &text, int languageCode);
    void updateSpeech() { setSpokenAnswer(m_spoken, m_spokenLanguage); }
    void speakAnswer();

    // Fills, sizes and places the dialog, then shows it modally.
    void ShowMyMessage(const QByteArray &expected, const QByteArray &typed);
    // Everything ShowMyMessage does short of running the dialog.
    void prepare(const QByteArray &expected, const QByteArray &typed);

    // The texts as the labels show them: an empty German verb-form bracket goes.
    static QByteArray shownExpected(QByteArray expected);
    static QByteArray shownTyped(QByteArray typed);
    // At least 300 pixels, wide enough for either answer.
    static int dialogWidth(int rightEdgeOfRight, int rightEdgeOfYou);
    // That width, but no wider than the screen has room for (and still 300).
    static int fittedWidth(int wanted, int available);

public slots:
    void Button1Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;

public:
    QLabel *Image1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *lblRight = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *lblYou = nullptr;
    QPushButton *Button1 = nullptr;
    QToolButton *btnSpeak = nullptr;

private:
    Speaker *m_speaker;
    QString m_spoken;
    int m_spokenLanguage = 0;
    CodePage m_answerCodePage = CodePage::Cp1250;
    int m_answerLeft = 0;
    bool m_placed = false;
    QString m_wholeTexts[2]; // of lblRight and lblYou
};

} // namespace lexitka
