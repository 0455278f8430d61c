#pragma once

#include "exchange/wordimport.h"
#include "exchange/wordtable.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;

namespace lexitka {

// "Importovat slovíčka": the first rows of a word list, which column is
// the foreign word and which Czech (and, if any, the article and the plural),
// the separator of a text file, and where the words go (a new lesson under
// a name checked here, before anything is imported).
class TfrmImport : public QDialog {
    Q_OBJECT
public:
    enum class Target { CurrentLesson, NewLesson, LessonPerFileLesson };

    // head: a text file's first rows as read (the header is chosen here);
    // reread reads them again with another separator. For KVTML, the table
    // itself and no head. lessonName: what a new lesson is called at first.
    TfrmImport(QWidget *parent, const QString &fileName, int languageCode, const DelimitedHead &head,
               std::function<DelimitedHead(QChar separator)> reread, const std::optional<WordTable> &kvtml,
               const QString &currentLesson, bool currentIsMistakes, const QString &lessonName);

    void accept() override;

    WordTable table() const;
    bool header() const;
    ColumnChoice choice() const;
    Target target() const;
    // The text file's head as last read, with the separator chosen.
    const DelimitedHead &head() const { return m_head; }
    // The new lesson's name as typed, trimmed.
    QString lessonName() const;

    static constexpr int kPreviewRows = 20;

    QLabel *lblFile = nullptr;
    QLabel *lblWarning = nullptr; // what the file lacks (a KVTML file of one language)
    QComboBox *cmbSeparator = nullptr;
    QCheckBox *chbHeader = nullptr;
    QComboBox *cmbSlovo = nullptr;
    QComboBox *cmbPreklad = nullptr;
    QComboBox *cmbClen = nullptr;
    QComboBox *cmbMn = nullptr;
    QTableWidget *tblPreview = nullptr;
    QRadioButton *rbCurrent = nullptr;
    QRadioButton *rbNewLesson = nullptr;
    QRadioButton *rbPerLesson = nullptr;
    QLineEdit *edtLessonName = nullptr;
    QLabel *lblLessonProblem = nullptr; // why the name cannot be taken
    QDialogButtonBox *buttons = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void rebuild();
    void fillPreview();
    void fitColumns();
    void separatorChosen();

    int m_language;
    DelimitedHead m_head;
    std::function<DelimitedHead(QChar)> m_reread;
    std::optional<WordTable> m_kvtml;
    WordTable m_table;
    bool m_rowsHaveLessons = false; // of the table as last built
};

} // namespace lexitka
