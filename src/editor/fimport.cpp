#include "fimport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace lexitka {
namespace {

QComboBox *columnBox(QWidget *parent, const char *name)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

int chosen(const QComboBox *box) { return box->currentData().toInt(); }

} // namespace

TfrmImport::TfrmImport(QWidget *parent, const QString &fileName, int languageCode, const DelimitedHead &head,
                       std::function<DelimitedHead(QChar separator)> reread, const std::optional<WordTable> &kvtml,
                       const QString &currentLesson, bool currentIsMistakes, const QString &lessonName)
    : QDialog(parent), m_language(languageCode), m_head(head), m_reread(std::move(reread)), m_kvtml(kvtml)
{
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("Importovat slovíčka"));
    auto *layout = new QVBoxLayout(this);
    lblFile = new QLabel(QStringLiteral("Soubor: %1").arg(fileName), this);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    layout->addWidget(lblFile);
    lblWarning = new QLabel(this);
    lblWarning->setObjectName(QStringLiteral("lblWarning"));
    lblWarning->setWordWrap(true);
    if (kvtml && kvtml->columns.size() < 2)
        lblWarning->setText(QStringLiteral("Soubor obsahuje jen jeden jazyk: slovíčka budou bez překladu."));
    lblWarning->setVisible(!lblWarning->text().isEmpty());
    layout->addWidget(lblWarning);

    chbHeader = new QCheckBox(QStringLiteral("První řádek je záhlaví"), this);
    chbHeader->setObjectName(QStringLiteral("chbHeader"));
    chbHeader->setChecked(!m_head.rows.isEmpty() && looksLikeHeader(m_head.rows.first()));
    chbHeader->setVisible(!kvtml);
    layout->addWidget(chbHeader);

    auto *form = new QFormLayout;
    cmbSeparator = new QComboBox(this);
    cmbSeparator->setObjectName(QStringLiteral("cmbSeparator"));
    static const std::pair<const char *, char16_t> separators[] = {{"Tabulátor", u'\t'}, {"Středník", u';'},
                                                                   {"Čárka", u','},      {"Svislá čára", u'|'},
                                                                   {"Mezera", u' '},     {"Dvojtečka", u':'}};
    for (const auto &[name, c] : separators)
        cmbSeparator->addItem(QString::fromUtf8(name), int(c));
    if (cmbSeparator->findData(int(m_head.separator.unicode())) < 0)
        cmbSeparator->addItem(QStringLiteral("„%1“").arg(m_head.separator), int(m_head.separator.unicode()));
    cmbSeparator->setCurrentIndex(cmbSeparator->findData(int(m_head.separator.unicode())));
    if (!kvtml)
        form->addRow(QStringLiteral("Oddělovač:"), cmbSeparator);
    else
        cmbSeparator->hide();
    cmbSlovo = columnBox(this, "cmbSlovo");
    cmbPreklad = columnBox(this, "cmbPreklad");
    cmbClen = columnBox(this, "cmbClen");
    cmbMn = columnBox(this, "cmbMn");
    form->addRow(QStringLiteral("Slovo (cizí jazyk):"), cmbSlovo);
    form->addRow(QStringLiteral("Překlad (čeština):"), cmbPreklad);
    form->addRow(QStringLiteral("Člen:"), cmbClen);
    form->addRow(QStringLiteral("Množné číslo (minulý čas):"), cmbMn);
    layout->addLayout(form);

    tblPreview = new QTableWidget(this);
    tblPreview->setObjectName(QStringLiteral("tblPreview"));
    tblPreview->setAccessibleName(QStringLiteral("Náhled"));
    tblPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPreview->verticalHeader()->hide();
    layout->addWidget(tblPreview, 1);

    rbCurrent = new QRadioButton(QStringLiteral("Do lekce „%1“").arg(currentLesson), this);
    rbCurrent->setObjectName(QStringLiteral("rbCurrent"));
    rbCurrent->setEnabled(!currentIsMistakes);
    rbNewLesson = new QRadioButton(QStringLiteral("Do nové lekce podle jména souboru"), this);
    rbNewLesson->setObjectName(QStringLiteral("rbNewLesson"));
    rbPerLesson = new QRadioButton(kvtml ? QStringLiteral("Každou lekci souboru do nové lekce")
                                         : QStringLiteral("Podle sloupce „Lekce“ do nových lekcí"),
                                   this);
    rbPerLesson->setObjectName(QStringLiteral("rbPerLesson"));
    edtLessonName = new QLineEdit(encodableLookalike(lessonName, CodePage::Cp1250), this);
    edtLessonName->setObjectName(QStringLiteral("edtLessonName"));
    edtLessonName->setAccessibleName(QStringLiteral("Jméno nové lekce"));
    lblLessonProblem = new QLabel(this);
    lblLessonProblem->setObjectName(QStringLiteral("lblLessonProblem"));
    lblLessonProblem->setWordWrap(true);
    lblLessonProblem->hide();
    layout->addWidget(rbCurrent);
    auto *newLesson = new QHBoxLayout;
    newLesson->addWidget(rbNewLesson);
    newLesson->addWidget(edtLessonName, 1);
    layout->addLayout(newLesson);
    layout->addWidget(lblLessonProblem);
    layout->addWidget(rbPerLesson);

    buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Importovat"), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("btnOK"));
    buttons->addButton(QStringLiteral("Storno"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("btnStorno"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    rebuild();
    // A file of lessons goes into lessons of its own; otherwise into the
    // lesson shown, when words can be added there.
    if (m_rowsHaveLessons)
        rbPerLesson->setChecked(true);
    else if (rbCurrent->isEnabled())
        rbCurrent->setChecked(true);
    else
        rbNewLesson->setChecked(true);
    edtLessonName->setEnabled(rbNewLesson->isChecked());
    connect(rbNewLesson, &QRadioButton::toggled, edtLessonName, &QWidget::setEnabled);
    connect(chbHeader, &QCheckBox::toggled, this, &TfrmImport::rebuild);
    connect(cmbSeparator, &QComboBox::currentIndexChanged, this, &TfrmImport::separatorChosen);
    for (QComboBox *box : {cmbSlovo, cmbPreklad, cmbClen, cmbMn})
        connect(box, &QComboBox::currentIndexChanged, this, &TfrmImport::fillPreview);
    resize(640, 480);
}

void TfrmImport::rebuild()
{
    m_table = m_kvtml ? *m_kvtml : tableFromDelimited(m_head.rows, chbHeader->isChecked(), m_head.width, m_head.titles);
    const ColumnChoice guess = guessColumns(m_table, m_language);
    const bool hasArticles = !articles(m_language).isEmpty();
    const std::pair<QComboBox *, int> boxes[] = {
        {cmbSlovo, guess.slovo}, {cmbPreklad, guess.preklad}, {cmbClen, guess.clen}, {cmbMn, guess.mn}};
    for (const auto &[box, column] : boxes) {
        const QSignalBlocker quiet(box);
        box->clear();
        box->addItem(QStringLiteral("(žádný)"), -1);
        for (int c = 0; c < m_table.columns.size(); ++c)
            box->addItem(m_table.columns[c], c);
        box->setCurrentIndex(column + 1);
    }
    // KVTML brings article and plural with the word itself.
    cmbClen->setEnabled(hasArticles && !m_kvtml);
    cmbMn->setEnabled(m_language == LangGerman && !m_kvtml);
    m_rowsHaveLessons = std::any_of(m_table.rows.cbegin(), m_table.rows.cend(),
                                    [](const WordTable::Row &row) { return !row.lesson.isEmpty(); });
    rbPerLesson->setEnabled(m_kvtml || m_rowsHaveLessons || m_table.columns.contains(lessonColumnTitle()));
    fillPreview();
}

void TfrmImport::fillPreview()
{
    const ColumnChoice c = choice();
    const int rows = int(std::min<qsizetype>(m_table.rows.size(), kPreviewRows));
    tblPreview->clear();
    tblPreview->setColumnCount(int(m_table.columns.size()) + 1);
    QStringList headers = m_table.columns;
    for (int i = 0; i < headers.size(); ++i) {
        // Which column becomes what, unless its title says so already.
        if (i == c.slovo && headers[i] != u"Slovo")
            headers[i] += QStringLiteral(" → Slovo");
        else if (i == c.preklad && headers[i] != u"Překlad")
            headers[i] += QStringLiteral(" → Překlad");
    }
    headers.append(QStringLiteral("Lekce"));
    tblPreview->setHorizontalHeaderLabels(headers);
    tblPreview->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const WordTable::Row &row = m_table.rows[r];
        for (int col = 0; col < row.cells.size(); ++col) {
            const WordTable::Cell &cell = row.cells[col];
            QString text = cell.text;
            if (!cell.article.isEmpty())
                text = cell.article + u' ' + text;
            if (!cell.forms.isEmpty())
                text += QStringLiteral(" (%1)").arg(cell.forms);
            tblPreview->setItem(r, col, new QTableWidgetItem(text));
        }
        tblPreview->setItem(r, int(m_table.columns.size()), new QTableWidgetItem(row.lesson));
    }
    fitColumns();
    if (QPushButton *ok = buttons->findChild<QPushButton *>(QStringLiteral("btnOK")))
        ok->setEnabled(c.slovo >= 0 || c.preklad >= 0);
}

// Columns as wide as their texts and titles, and the room left shared out
// among them, so that nothing is cut while space stays empty.
void TfrmImport::fitColumns()
{
    QHeaderView *header = tblPreview->horizontalHeader();
    const int n = header->count();
    if (n == 0)
        return;
    tblPreview->resizeColumnsToContents();
    int total = 0;
    for (int i = 0; i < n; ++i)
        total += header->sectionSize(i);
    const int room = tblPreview->viewport()->width() - total;
    for (int i = 0; room > 0 && i < n; ++i)
        header->resizeSection(i, header->sectionSize(i) + room / n + (i < room % n ? 1 : 0));
}

void TfrmImport::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    fitColumns();
}

void TfrmImport::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fitColumns();
}

void TfrmImport::separatorChosen()
{
    if (!m_reread)
        return;
    m_head = m_reread(QChar(char16_t(cmbSeparator->currentData().toInt())));
    {
        const QSignalBlocker quiet(chbHeader);
        chbHeader->setChecked(!m_head.rows.isEmpty() && looksLikeHeader(m_head.rows.first()));
    }
    rebuild();
    if (!rbPerLesson->isEnabled() && rbPerLesson->isChecked())
        (rbCurrent->isEnabled() ? rbCurrent : rbNewLesson)->setChecked(true);
}

QString TfrmImport::lessonName() const { return edtLessonName->text().trimmed(); }

void TfrmImport::accept()
{
    // The name is checked before anything is imported, while it can still be changed.
    if (rbNewLesson->isChecked()) {
        const QString problem = unencodableMessage(lessonName(), CodePage::Cp1250, QStringLiteral("jméno lekce"));
        lblLessonProblem->setText(problem);
        lblLessonProblem->setVisible(!problem.isEmpty());
        if (!problem.isEmpty()) {
            edtLessonName->setFocus();
            return;
        }
    }
    QDialog::accept();
}

WordTable TfrmImport::table() const { return m_table; }

bool TfrmImport::header() const { return chbHeader->isChecked(); }

ColumnChoice TfrmImport::choice() const
{
    ColumnChoice c;
    c.slovo = chosen(cmbSlovo);
    c.preklad = chosen(cmbPreklad);
    c.clen = cmbClen->isEnabled() ? chosen(cmbClen) : -1;
    c.mn = cmbMn->isEnabled() ? chosen(cmbMn) : -1;
    return c;
}

TfrmImport::Target TfrmImport::target() const
{
    if (rbPerLesson->isChecked())
        return Target::LessonPerFileLesson;
    return rbNewLesson->isChecked() ? Target::NewLesson : Target::CurrentLesson;
}

} // namespace lexitka
