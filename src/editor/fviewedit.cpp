#include "fviewedit.h"

#include "data/codepage.h"
#include "data/dictionary.h"
#include "data/displaytext.h"
#include "data/inifile.h"
#include "data/savefile.h"
#include "editor/ffind.h"
#include "editor/fword.h"
#include "editor/lessonmodel.h"
#include "editor/lessonnames.h"
#include "platform/fonts.h"
#include "platform/help.h"
#include "platform/messenger.h"
#include "platform/waitcursor.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QListView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace lexitka {
namespace {

QPushButton *button(QWidget *parent, QLayout *layout, const char *name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    // As wide as the caption needs, so that all fit the window's width.
    b->setFixedWidth(std::max(b->fontMetrics().horizontalAdvance(text) + 12, 50));
    layout->addWidget(b);
    return b;
}

} // namespace

TfrmViewEdt::TfrmViewEdt(Messenger &messenger, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_messenger(messenger)
{
    setObjectName(QStringLiteral("frmViewEdt"));
    setWindowTitle(QStringLiteral("Prohlížet / Editovat"));
    setModal(true);
    setFont(tahoma(11));

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(48);
    auto *top = new QHBoxLayout(Panel1);
    top->setContentsMargins(6, 0, 6, 0);
    top->setSpacing(4);
    Label1 = new QLabel(QStringLiteral("Lekce:"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    top->addWidget(Label1);
    cmbLekce = new QComboBox(Panel1);
    cmbLekce->setObjectName(QStringLiteral("cmbLekce"));
    cmbLekce->setFixedWidth(97);
    cmbLekce->setFont(tahoma(11));
    m_names = new LessonNamesModel(WordLists, this);
    cmbLekce->setModel(m_names);
    // Nothing may measure every name: a million lessons would take minutes.
    cmbLekce->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbLekce->setMinimumContentsLength(8);
    if (auto *list = qobject_cast<QListView *>(cmbLekce->view()))
        list->setUniformItemSizes(true);
    top->addWidget(cmbLekce);
    Button1 = button(Panel1, top, "Button1", QStringLiteral("Tisk"));
    Button2 = button(Panel1, top, "Button2", QStringLiteral("Přidat lekci"));
    Button3 = button(Panel1, top, "Button3", QStringLiteral("Přidat slovíčko"));
    Button4 = button(Panel1, top, "Button4", QStringLiteral("Editovat slovíčko"));
    Button5 = button(Panel1, top, "Button5", QStringLiteral("Smazat slovíčko"));
    Button6 = button(Panel1, top, "Button6", QStringLiteral("Smazat lekci"));
    btnFind = button(Panel1, top, "btnFind", QStringLiteral("Hledat"));
    addHelpAction(this, m_messenger);
    top->addStretch();

    m_model = new LessonModel(this);
    sgList = new QTableView(this);
    sgList->setObjectName(QStringLiteral("sgList"));
    sgList->setModel(m_model);
    sgList->setItemDelegate(new LessonDelegate(sgList));
    sgList->setFont(verdana(11));
    sgList->setShowGrid(false);
    sgList->setWordWrap(false);
    sgList->setSelectionBehavior(QAbstractItemView::SelectRows);
    sgList->setSelectionMode(QAbstractItemView::SingleSelection);
    sgList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgList->setTabKeyNavigation(false);
    QHeaderView *rows = sgList->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(15);
    QHeaderView *columns = sgList->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setHighlightSections(false);
    columns->setFixedHeight(17);
    for (int c = 0; const int w : {50, 182, 184, 282})
        sgList->setColumnWidth(c++, w);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(sgList);
    resize(764, 513);

    m_undo = new QUndoStack(this);

    connect(cmbLekce, &QComboBox::activated, this, &TfrmViewEdt::cmbLekceChange);
    connect(sgList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TfrmViewEdt::sgListSelectCell);
    connect(Button1, &QPushButton::clicked, this, &TfrmViewEdt::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TfrmViewEdt::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TfrmViewEdt::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TfrmViewEdt::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TfrmViewEdt::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TfrmViewEdt::Button6Click);
    connect(btnFind, &QPushButton::clicked, this, &TfrmViewEdt::btnFindClick);
    connect(sgList, &QTableView::doubleClicked, this, &TfrmViewEdt::Button4Click);

    // The window sees every key before its controls do.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

TfrmViewEdt::~TfrmViewEdt() = default;

void TfrmViewEdt::Start()
{
    if (!FormShow())
        return;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    exec();
}

bool TfrmViewEdt::FormShow()
{
    EditorChanged = false;
    {
        WaitCursor wait;
        if (!LoadWords())
            return false;
        LoadLekceList();
        const qsizetype first =
            ShowErrorsOnOpen ? WordLists.mistakesIndex()
                             : std::clamp<qsizetype>(ViewLessonIndex, 0, WordLists.mistakesIndex());
        showLesson(first, 0);
    }
    sgList->setFocus();
    return true;
}

void TfrmViewEdt::LoadLekceList()
{
    // The names come from the same reading as the lines, so entry i and
    // list i are always the same section.
    m_names->reload();
}

void TfrmViewEdt::releaseLists()
{
    // The lines held by the undo steps and the grid point into the book's
    // load: they go first.
    m_undo->clear();
    m_model->setLines({}, m_dictionary.languageCode);
    SelectedRow = 0;
    WordLists.clear();
    m_read.clear();
    m_names->reload();
}

qsizetype TfrmViewEdt::currentLesson() const { return cmbLekce->currentIndex(); }

void TfrmViewEdt::fillGrid()
{
    const qsizetype lesson = currentLesson();
    if (lesson < 0 || lesson >= WordLists.count())
        return;
    m_model->setLines(WordLists.lines(lesson), m_dictionary.languageCode);
    SelectedRow = 0;
}

void TfrmViewEdt::selectWordRow(qsizetype row)
{
    const int rows = m_model->rowCount();
    if (rows == 0) {
        sgList->clearSelection();
        SelectedRow = 0;
        return;
    }
    const QModelIndex index = m_model->index(int(std::clamp<qsizetype>(row, 0, rows - 1)), 0);
    sgList->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    sgList->scrollTo(index);
}

void TfrmViewEdt::sgListSelectCell()
{
    const QModelIndexList selected = sgList->selectionModel()->selectedRows();
    SelectedRow = selected.isEmpty() ? 0 : selected.first().row() + 1;
}

void TfrmViewEdt::cmbLekceChange()
{
    if (currentLesson() < 0)
        return;
    fillGrid();
    selectWordRow(0);
}

void TfrmViewEdt::showLesson(qsizetype lesson, qsizetype row)
{
    if (currentLesson() != lesson)
        cmbLekce->setCurrentIndex(int(lesson));
    fillGrid();
    selectWordRow(row);
}

void TfrmViewEdt::showRow(qsizetype lesson, qsizetype gridRow) { showLesson(lesson, gridRow - 1); }

void TfrmViewEdt::lessonInserted(qsizetype at) { m_names->lessonInserted(int(at)); }

void TfrmViewEdt::lessonRemoved(qsizetype at) { m_names->lessonRemoved(int(at)); }

bool TfrmViewEdt::checkedLesson(qsizetype &lesson) const
{
    lesson = currentLesson();
    return lesson >= 0 && lesson < WordLists.count();
}

void TfrmViewEdt::Button2Click()
{
    QInputDialog ask(this);
    ask.setObjectName(QStringLiteral("newLessonBox"));
    ask.setWindowTitle(QStringLiteral("Nová lekce"));
    ask.setLabelText(QStringLiteral("Zadejte jméno nové lekce"));
    ask.setTextValue(QStringLiteral("Nová lekce"));
    ask.setOkButtonText(QStringLiteral("OK"));
    ask.setCancelButtonText(QStringLiteral("Storno"));
    QByteArray name;
    for (;;) {
        if (ask.exec() != QDialog::Accepted)
            return;
        name = trimmedBlanks(encode(ask.textValue(), CodePage::Cp1250)).toByteArray();
        QString refusal;
        switch (WordLists.checkNewName(name)) {
        case LessonNameProblem::None: break;
        case LessonNameProblem::Empty: refusal = QStringLiteral("Zadejte jméno lekce."); break;
        case LessonNameProblem::BadCharacter:
            refusal = QStringLiteral("Jméno lekce nesmí obsahovat znak „]“ ani konec řádku.");
            break;
        case LessonNameProblem::Taken:
            refusal = QStringLiteral("Lekce „%1“ už existuje. Zvolte jiné jméno.")
                          .arg(displayText(ask.textValue().trimmed()));
            break;
        }
        if (refusal.isEmpty())
            break;
        m_messenger.information(this, refusal);
    }
    m_undo->push(new AddLessonCommand(*this, WordLists.mistakesIndex(), name));
}

void TfrmViewEdt::Button3Click()
{
    qsizetype lesson = 0;
    if (!checkedLesson(lesson) || !m_word)
        return;
    if (WordLists.isMistakes(lesson)) {
        // A mistake needs the kind of question it was made in; only a test knows it.
        m_messenger.information(this, QStringLiteral("Do „Chyby“ nelze přidávat slovíčka. Vyberte lekci."));
        return;
    }
    WordRecord word;
    word.Clen = QByteArray::number(kNoArticle);
    const int language = m_dictionary.languageCode;
    if (!m_word->StartWord(word, language))
        return;
    const QByteArray line = ComposeEntry(QByteArray::number(m_model->rowCount()), word, language);
    m_undo->push(new AddWordCommand(*this, lesson, line));
}

void TfrmViewEdt::Button4Click()
{
    qsizetype lesson = 0;
    const qsizetype row = SelectedRow - 1;
    if (!checkedLesson(lesson) || !m_word || row < 0 || row >= WordLists.lines(lesson).size())
        return;
    const QByteArray old = WordLists.lines(lesson).at(row).toByteArray();
    const int language = m_dictionary.languageCode;
    WordRecord word = ParseWord(old, language);
    if (!m_word->StartWord(word, language))
        return;
    QByteArray line = ComposeEntry(QByteArray::number(m_model->rowCount()), word, language);
    if (WordLists.isMistakes(lesson))
        line.prepend(old.left(1) + '\\'); // the kind of question the mistake was made in
    m_undo->push(new EditWordCommand(*this, lesson, row, line));
}

void TfrmViewEdt::Button5Click()
{
    qsizetype lesson = 0;
    const qsizetype row = SelectedRow - 1;
    if (!checkedLesson(lesson) || row < 0 || row >= WordLists.lines(lesson).size())
        return;
    m_undo->push(new DeleteWordCommand(*this, lesson, row));
}

void TfrmViewEdt::Button6Click()
{
    qsizetype lesson = 0;
    if (!checkedLesson(lesson))
        return;
    if (WordLists.isMistakes(lesson)) {
        m_messenger.information(this, QStringLiteral("„Chyby“ nelze smazat jako lekci. Jednotlivé chyby smažete "
                                                     "tlačítkem „Smazat slovíčko“."));
        return;
    }
    if (!m_messenger.ask(this, QStringLiteral("Smazat lekci"), QStringLiteral("Opravdu smazat ?"),
                         Messenger::Default::No))
        return;
    m_undo->push(new DeleteLessonCommand(*this, lesson));
}

void TfrmViewEdt::SortLekce()
{
    qsizetype lesson = 0;
    if (!checkedLesson(lesson) || WordLists.isMistakes(lesson))
        return;
    WaitCursor wait;
    m_undo->push(new SortLessonCommand(*this, lesson, m_dictionary.languageCode, SelectedRow - 1));
}

void TfrmViewEdt::btnFindClick()
{
    if (m_find)
        m_find->showFind();
}

bool TfrmViewEdt::FormKeyUp(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (key == Qt::Key_Insert)
        Button3Click();
    else if (key == Qt::Key_Delete)
        Button5Click();
    else if (key == Qt::Key_F10 && ctrl)
        SaveToFIle();
    else if (key == Qt::Key_F9 && ctrl)
        SortLekce();
    else
        return false;
    return true;
}

bool TfrmViewEdt::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (type == QEvent::KeyPress) {
            if (key->matches(QKeySequence::Undo)) {
                m_undo->undo();
                return true;
            }
            if (key->matches(QKeySequence::Redo)
                || (key->key() == Qt::Key_Y && key->modifiers() == Qt::ControlModifier)) {
                m_undo->redo();
                return true;
            }
        } else if (!key->isAutoRepeat() && FormKeyUp(key->key(), key->modifiers())) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmViewEdt::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        return; // the window closes only through its close box
    QDialog::keyPressEvent(event);
}

void TfrmViewEdt::done(int result)
{
    if (!FormClose())
        return; // the save failed: the edits stay, and so does the window
    QDialog::done(result);
}

bool TfrmViewEdt::FormClose()
{
    // Enter keeps the work: losing the edits must take a deliberate No.
    if (EditorChanged
        && m_messenger.ask(this, QStringLiteral("Dotaz"), QStringLiteral("Uložit změny ?"), Messenger::Default::Yes)) {
        if (!save())
            return false;
    }
    releaseLists();
    if (m_find && m_find->isVisible())
        m_find->close();
    return true;
}

} // namespace lexitka
