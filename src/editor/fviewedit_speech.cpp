// Reading the selected word aloud.
#include "fviewedit.h"

#include "platform/speechbutton.h"

#include <QAction>
#include <QToolButton>

namespace lexitka {
namespace {

QString selectedWord(const LessonBook &book, qsizetype lesson, int selectedRow, int languageCode)
{
    const qsizetype row = selectedRow - 1;
    if (lesson < 0 || lesson >= book.count() || row < 0 || row >= book.lines(lesson).size())
        return {};
    // A mistake's kind goes with its key: ParseWord drops both.
    return spokenWord(ParseWord(book.lines(lesson).at(row).toByteArray(), languageCode), languageCode);
}

} // namespace

void TfrmViewEdt::updateSpeech()
{
    m_speechPending = !controlsMade();
    if (m_speechPending)
        return;
    const int language = m_dictionary.languageCode;
    showSpeechControl(speechControl(*m_speaker, language,
                                    selectedWord(WordLists, currentLesson(), SelectedRow, language),
                                    QStringLiteral("Vyberte slovo, které se má přečíst.")),
                      btnSpeak, actSpeak);
}

void TfrmViewEdt::speakSelectedWord()
{
    const int language = m_dictionary.languageCode;
    speak(*m_speaker, language, selectedWord(WordLists, currentLesson(), SelectedRow, language));
}

} // namespace lexitka
