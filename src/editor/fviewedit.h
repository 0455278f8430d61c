#pragma once

#include "data/opendictionary.h"
#include "editor/editorcommands.h"
#include "data/filestamp.h"
#include "editor/lessonbook.h"
#include "platform/controlsmade.h"

#include <QByteArray>
#include <QDialog>
#include <QKeySequence>
#include <QSet>

class QAction;
class QComboBox;
class QFileDialog;
class QLabel;
class QPushButton;
class QTableView;
class QToolButton;
class QUndoStack;
class QWidget;

namespace lexitka {

class CellEditorDelegate;
class Keyboards;
class LessonModel;
class LessonNamesModel;
class Messenger;
class Speaker;
class TfrmFind;
class TfrmWord;

// "Prohlížet / Editovat": the lessons of the open dictionary and the
// mistakes, edited in memory and saved, after a question, when it closes.
class TfrmViewEdt : public DeferredDialog, private BookView {
    Q_OBJECT
public:
    explicit TfrmViewEdt(Messenger &messenger, QWidget *parent = nullptr, ControlsMade controls = ControlsMade::Now);
    ~TfrmViewEdt() override;

    // The word and find dialogs are created after this window.
    void setWordDialog(TfrmWord *dialog) { m_word = dialog; }
    void setFindDialog(TfrmFind *dialog) { m_find = dialog; }
    // The layouts the grid's cells are typed on (fviewedit_grid.cpp).
    void setKeyboards(Keyboards *keyboards);
    void setSpeaker(Speaker &speaker) { m_speaker = &speaker; }

    // The button "read aloud" and F5: the foreign word of the selected row.
    void speakSelectedWord();
    void updateSpeech();

    void setDictionary(const OpenDictionary &dictionary) { m_dictionary = dictionary; }
    // Words with a review due today, for the lesson box.
    void setDueValues(QSet<QByteArray> values);
    const OpenDictionary &dictionary() const { return m_dictionary; }
    // What the main window and this window tell each other. EditorChanged
    // follows the undo stack: set while it is away from where it was loaded
    // or saved, or once anything was saved.
    int ViewLessonIndex = 0;
    bool ShowErrorsOnOpen = false;
    bool EditorChanged = false;

    // Loads everything and runs the window modally; when a file cannot be
    // read it says so and does not open.
    void Start();
    // Reads the dictionary and the mistakes, fills the lesson list and the
    // grid; false (said in a message) when a file exists but cannot be read.
    bool FormShow();

    // The in-memory copy: lesson i of the combo is WordLists' entry i.
    LessonBook WordLists;
    // Grid row of the selected word (row 1 is the first word), 0 for none.
    int SelectedRow = 0;

    QUndoStack *undoStack() const { return m_undo; }
    const LessonModel &model() const { return *m_model; }
    qsizetype currentLesson() const override;
    // Shows a lesson with one of its rows selected and in sight (grid row, from 1).
    void showRow(qsizetype lesson, qsizetype gridRow);

public slots:
    void cmbLekceChange();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void btnFindClick();
    void SortLekce();
    void SaveToFIle();
    // Ctrl+S: saves and stays open.
    void saveNow();
    void renameLesson();
    // Rows through the clipboard as tab-separated text, and to another lesson.
    void copyRows();
    void cutRows();
    void pasteRows();
    void moveRows();
    // "Tisk…" with the platform's print dialog, and the print preview.
    void printWithDialog();
    void printPreview();
    // "Importovat slovíčka…": asks for a file; importFile shows its preview.
    void importWords();
    void importFile(const QString &path);
    void exportLesson();
    void exportDictionary();
    void exportLessons(const QList<qsizetype> &which, const QString &title);

protected:
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // A word list dropped on the window is imported (fviewedit_exchange.cpp).
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void makeControlsOnce() override;
    void afterControlsMade() override;
    bool LoadWords();
    void LoadLekceList();
    bool FormClose();
    bool save();
    void releaseLists();
    void fillGrid();
    void selectWordRow(qsizetype row);
    void sgListSelectCell();
    bool FormKeyUp(int key, Qt::KeyboardModifiers modifiers);
    bool checkedLesson(qsizetype &lesson) const;
    // The lesson words may be added to: a checked one other than "Chyby",
    // which says why it takes none.
    bool lessonToAddTo(qsizetype &lesson);
    void createActions();
    QList<qsizetype> selectedRows() const;
    void cellEdited(int row, int column, const QString &text);
    // Why a column cannot take a typed text (empty: it can), and the same
    // said to the user.
    QString cellRefusal(int column, const QString &typed) const;
    bool cellAcceptable(int column, const QString &typed);
    // Why a typed lesson name cannot be taken (empty: it can), and its bytes.
    QString lessonNameRefusal(const QString &typed, QByteArray &name, qsizetype renamed = -1) const;
    bool askLessonName(const QString &title, const QString &prompt, const QString &initial, QByteArray &name,
                       qsizetype renamed = -1);
    QAction *addCommand(const char *name, const QString &text, const QList<QKeySequence> &keys);
    void undoCleanChanged(bool clean);

    // BookView
    LessonBook &book() override { return WordLists; }
    void lessonInserted(qsizetype at) override;
    void lessonRemoved(qsizetype at) override;
    void linesInserted(qsizetype lesson, qsizetype first, qsizetype count) override;
    void linesRemoved(qsizetype lesson, qsizetype first, qsizetype count) override;
    void linesChanged(qsizetype lesson, qsizetype first, qsizetype last) override;
    void linesReordered(qsizetype lesson) override;
    void showLesson(qsizetype lesson, qsizetype row) override;

    // Saving (fviewedit_save.cpp): the files as read, to merge another
    // window's changes with ours when they changed on disk since.
    struct SaveAttempt {
        enum Outcome { Saved, Busy, Conflict, Failed } outcome = Failed;
        QString file;                // the file that was busy or failed
        QList<QByteArray> conflicts; // lessons changed here and in another window
    };
    SaveAttempt saveMerged(bool oursWins);
    LessonBook m_read;
    FileStamp m_dictionaryStamp;
    FileStamp m_mistakesStamp;

    OpenDictionary m_dictionary;
    Messenger &m_messenger;
    Speaker *m_speaker;
    TfrmWord *m_word = nullptr;
    CellEditorDelegate *m_cellEditor = nullptr;
    TfrmFind *m_find = nullptr;
    Keyboards *m_cellKeyboards = nullptr;
    // The voices changed before the controls were made.
    bool m_speechPending = false;
    LessonModel *m_model = nullptr;
    LessonNamesModel *m_names = nullptr;
    QUndoStack *m_undo = nullptr;
    // EditorChanged follows the stack only while the lists are loaded.
    bool m_tracking = false;
    bool m_savedHere = false;
    // A lesson was added or removed since the grid was filled.
    bool m_gridStale = false;

public:
    QWidget *Panel1 = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *cmbLekce = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button4 = nullptr;
    QPushButton *Button5 = nullptr;
    QPushButton *Button6 = nullptr;
    QPushButton *btnFind = nullptr;
    QToolButton *btnSpeak = nullptr;
    QTableView *sgList = nullptr;
    // Where the rich-text export goes; made at its first use.
    QFileDialog *SaveDlg = nullptr;
    // Every command of the window, with its shortcut; the grid's context
    // menu shows them all.
    QAction *actUndo = nullptr;
    QAction *actRedo = nullptr;
    QAction *actSort = nullptr;
    QAction *actRtf = nullptr;
    QAction *actSave = nullptr;
    QAction *actSpeak = nullptr;
};

} // namespace lexitka
