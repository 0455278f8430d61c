#pragma once

#include "exchange/wordtable.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QRadioButton;
class QTableWidget;

namespace lexitka {

// "Importovat slovíčka": the first rows of a word list, which column is
// the foreign word and which Czech (and, if any, the article and the plural),
// and where the words go.
class TfrmImport : public QDialog {
    Q_OBJECT
public:
    enum class Target { CurrentLesson, NewLesson, LessonPerFileLesson };

    // rows: a text file's first rows as read (the header is chosen here),
    // width: its widest row; for KVTML, the table itself and no rows.
    TfrmImport(QWidget *parent, const QString &fileName, int languageCode, const QList<QStringList> &rows,
               qsizetype width, const std::optional<WordTable> &kvtml, const QString &currentLesson,
               bool currentIsMistakes);

    WordTable table() const;
    bool header() const;
    ColumnChoice choice() const;
    Target target() const;

    static constexpr int kPreviewRows = 20;

    QLabel *lblFile = nullptr;
    QCheckBox *chbHeader = nullptr;
    QComboBox *cmbSlovo = nullptr;
    QComboBox *cmbPreklad = nullptr;
    QComboBox *cmbClen = nullptr;
    QComboBox *cmbMn = nullptr;
    QTableWidget *tblPreview = nullptr;
    QRadioButton *rbCurrent = nullptr;
    QRadioButton *rbNewLesson = nullptr;
    QRadioButton *rbPerLesson = nullptr;
    QDialogButtonBox *buttons = nullptr;

private:
    void rebuild();
    void fillPreview();

    int m_language;
    QList<QStringList> m_rows;
    qsizetype m_width = 0;
    std::optional<WordTable> m_kvtml;
    WordTable m_table;
};

} // namespace lexitka
