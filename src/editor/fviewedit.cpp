#include "fviewedit.h"

#include "editor/celleditor.h"

#include "data/codepage.h"
#include "data/dictionary.h"
#include "data/displaytext.h"
#include "data/inifile.h"
#include "data/savefile.h"
#include "editor/ffind.h"
#include "editor/fword.h"
#include "editor/lessonmodel.h"
#include "editor/lessonnames.h"
#include "platform/speechbutton.h"
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
#include <QToolButton>
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

TfrmViewEdt::TfrmViewEdt(Messenger &messenger, QWidget *parent, ControlsMade controls)
    : DeferredDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                 | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_messenger(messenger), m_speaker(&silentSpeaker())
{
    setObjectName(QStringLiteral("frmViewEdt"));
    setWindowTitle(QStringLiteral("Prohlížet / Editovat"));
    setModal(true);
    setFont(tahoma(11));
    setAcceptDrops(true);
    makeControls(controls);
}

void TfrmViewEdt::afterControlsMade()
{
    m_cellEditor->setKeyboards(m_cellKeyboards);
    if (m_speechPending)
        updateSpeech();
}

void TfrmViewEdt::makeControlsOnce()
{
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
    cmbLekce->setItemDelegate(new LessonCountDelegate(cmbLekce));
    top->addWidget(cmbLekce);
    Button1 = button(Panel1, top, "Button1", QStringLiteral("Tisk"));
    Button2 = button(Panel1, top, "Button2", QStringLiteral("Přidat lekci"));
    Button3 = button(Panel1, top, "Button3", QStringLiteral("Přidat slovíčko"));
    Button4 = button(Panel1, top, "Button4", QStringLiteral("Editovat slovíčko"));
    Button5 = button(Panel1, top, "Button5", QStringLiteral("Smazat slovíčko"));
    Button6 = button(Panel1, top, "Button6", QStringLiteral("Smazat lekci"));
    btnFind = button(Panel1, top, "btnFind", QStringLiteral("Hledat"));
    btnSpeak = makeSpeechButton(Panel1);
    top->addWidget(btnSpeak);
    addHelpAction(this, m_messenger);
    top->addStretch();

    m_model = new LessonModel(this);
    sgList = new QTableView(this);
    sgList->setObjectName(QStringLiteral("sgList"));
    sgList->setAccessibleName(QStringLiteral("Slovíčka lekce"));
    sgList->setModel(m_model);
    m_cellEditor = new CellEditorDelegate(
        sgList, [this] { return m_dictionary.languageCode; },
        [this](int column, const QString &typed) { return cellAcceptable(column, typed); });
    sgList->setItemDelegate(m_cellEditor);
    sgList->setFont(verdana(11));
    sgList->setShowGrid(false);
    sgList->setWordWrap(false);
    sgList->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Shift and Ctrl select several rows; F2 or typing edits a cell in place
    // (double click keeps opening the word dialog).
    sgList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    sgList->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
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
    connect(m_undo, &QUndoStack::cleanChanged, this, &TfrmViewEdt::undoCleanChanged);
    createActions();

    connect(cmbLekce, &QComboBox::activated, this, &TfrmViewEdt::cmbLekceChange);
    connect(sgList->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TfrmViewEdt::sgListSelectCell);
    connect(Button1, &QPushButton::clicked, this, &TfrmViewEdt::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TfrmViewEdt::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TfrmViewEdt::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TfrmViewEdt::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TfrmViewEdt::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TfrmViewEdt::Button6Click);
    connect(btnFind, &QPushButton::clicked, this, &TfrmViewEdt::btnFindClick);
    connect(btnSpeak, &QToolButton::clicked, this, &TfrmViewEdt::speakSelectedWord);
    connect(sgList, &QTableView::doubleClicked, this, &TfrmViewEdt::Button4Click);
    connect(m_model, &LessonModel::cellEdited, this, &TfrmViewEdt::cellEdited);

    // The window sees every key before its controls do (not those of the
    // find dialog, a window of its own that may be made before them).
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        if (child->window() == this)
            child->installEventFilter(this);
}

TfrmViewEdt::~TfrmViewEdt() = default;

void TfrmViewEdt::Start()
{
    makeControls();
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
    m_savedHere = false;
    {
        WaitCursor wait;
        if (!LoadWords())
            return false;
        LoadLekceList();
        const qsizetype first = ShowErrorsOnOpen ? WordLists.mistakesIndex()
                                                 : std::clamp<qsizetype>(ViewLessonIndex, 0, WordLists.mistakesIndex());
        showLesson(first, 0);
    }
    m_undo->setClean();
    m_tracking = true;
    sgList->setFocus();
    return true;
}

void TfrmViewEdt::LoadLekceList()
{
    // The names come from the same reading as the lines, so entry i and
    // list i are always the same section.
    m_names->reload();
    m_gridStale = true;
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
    m_gridStale = false;
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
    // Of several rows, the one the cursor is on is the one edit acts on.
    const QItemSelectionModel *selection = sgList->selectionModel();
    const QModelIndexList selected = selection->selectedRows();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row()))
        SelectedRow = current.row() + 1;
    else
        SelectedRow = selected.isEmpty() ? 0 : selected.first().row() + 1;
    updateSpeech();
}

void TfrmViewEdt::cmbLekceChange()
{
    if (currentLesson() < 0)
        return;
    fillGrid();
    selectWordRow(0);
}

void TfrmViewEdt::showRow(qsizetype lesson, qsizetype gridRow) { showLesson(lesson, gridRow - 1); }

bool TfrmViewEdt::checkedLesson(qsizetype &lesson) const
{
    lesson = currentLesson();
    return lesson >= 0 && lesson < WordLists.count();
}

bool TfrmViewEdt::lessonToAddTo(qsizetype &lesson)
{
    if (!checkedLesson(lesson))
        return false;
    if (WordLists.isMistakes(lesson)) {
        // A mistake needs the kind of question it was made in; only a test knows it.
        m_messenger.information(this, QStringLiteral("Do „Chyby“ nelze přidávat slovíčka. Vyberte lekci."));
        return false;
    }
    return true;
}

bool TfrmViewEdt::FormKeyUp(int key, Qt::KeyboardModifiers)
{
    if (key == Qt::Key_Insert)
        Button3Click();
    else if (key == Qt::Key_Delete)
        Button5Click();
    else
        return false;
    return true;
}

bool TfrmViewEdt::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!key->isAutoRepeat() && FormKeyUp(key->key(), key->modifiers()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmViewEdt::undoCleanChanged(bool clean)
{
    if (m_tracking)
        EditorChanged = m_savedHere || !clean;
}

void TfrmViewEdt::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close(); // with the usual question
        return;
    }
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
    // Enter keeps the work: losing the edits must take a deliberate No, and
    // Storno goes back to them.
    if (!m_undo->isClean()) {
        switch (m_messenger.askWithCancel(this, QStringLiteral("Dotaz"), QStringLiteral("Uložit změny ?"))) {
        case Messenger::Answer::Cancel: return false;
        case Messenger::Answer::No: break;
        case Messenger::Answer::Yes:
            if (!save())
                return false;
            break;
        }
    }
    // Released lists are no change of the user's.
    m_tracking = false;
    releaseLists();
    if (m_find && m_find->isVisible())
        m_find->close();
    return true;
}

void TfrmViewEdt::saveNow()
{
    if (!save())
        return;
    m_savedHere = true;
    EditorChanged = true;
    m_undo->setClean();
}

void TfrmViewEdt::setDueValues(QSet<QByteArray> values) { m_names->setDueValues(std::move(values)); }

} // namespace lexitka
