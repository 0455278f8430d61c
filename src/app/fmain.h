#pragma once

#include "data/filestamp.h"
#include "data/settings.h"
#include "exam/duereviews.h"
#include "exam/testpool.h"

#include <QByteArray>
#include <QMainWindow>
#include <QDate>
#include <QString>

#include <optional>

class QAction;
class QCheckBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QListView;
class QListWidget;
class QMenu;
class QPushButton;

namespace lexitka {

class LessonListModel;
class LexitkaApp;

// The main window: lesson list, test kinds, and every command of the program.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    TfrmMain(LexitkaApp &app, const QString &dictionaryArg);
    ~TfrmMain() override;

    // Fills the window from the dictionary at path. Opening it offers to
    // convert a UTF-8 dictionary; reading it again after the editor does not.
    enum class Reading { Open, Reread };
    void OpenSlovnik(const QString &path, Reading reading = Reading::Open);
    // Stores the test-kind ticks under path's extension; false when the
    // settings file could not be written (reported unless told not to).
    bool CloseSlovnik(const QString &path, bool report = true);
    void ShowSlovnik(int languageCode);

    const QString &dictionaryFolder() const { return m_dictionaryFolder; }

    // Ticks of the two lists, in list order.
    QList<bool> lessonTicks() const;
    QList<bool> testKindTicks() const;
    // Raw bytes of the lesson names as the dictionary holds them.
    QList<QByteArray> lessonNames() const;
    // The lessons of lbLekce with their ticks.
    LessonListModel &lessons() { return *m_lessons; }
    // Position of the lesson under the list's selection bar (independent of
    // the ticks), or -1 when none is highlighted.
    int highlightedLesson() const;

public slots:
    void btnAllClick();
    void btnNoAllClick();

    // Test launch.
    void btnTestClick();
    void btnErrorsClick();
    void btnClearErrorsClick();
    // "Odebírat zvládnuté chyby" switched: the engine follows, the settings remember.
    void mniRemoveMasteredClick(bool on);
    void mniScheduleReviewsClick(bool on);
    // Reviews (fmain_reviews.cpp): a test of the cards due today, and
    // forgetting them all after a Yes.
    void btnReviewsClick();
    void mniClearReviewsClick();
    // Counts the due cards of the open dictionary and each lesson's progress
    // again, unless neither file nor the day changed since the last count.
    void recountReviews(bool force = false);
    // Collects the test of the mode and sets the engine up for it; false,
    // with the reasons shown, when it may not start.
    bool LoadLekce(TestMode mode = TestMode::Lessons);

    // Statistics.
    QByteArray MakeLekceTypZK() const;
    void btnStatistikaClick();
    void btnClearStatistikaClick();

    // Menu "Slovník" and the About box.
    void Vytvoitnov1Click();
    void Otevt1Click();
    void Uloitjako1Click();
    void Import1Click();
    void btnAboutClick();

    // The lesson editor (fmain_editor.cpp).
    void btnViewClick();
    void btnShowErrorsClick();

protected:
    void closeEvent(QCloseEvent *event) override;
    // A dictionary dropped on the window opens (fmain_drop.cpp).
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void makeControls();
    void FormCreate(const QString &dictionaryArg);
    bool FormClose();
    void reportSettingsFailure();
    // The ticks of the test kinds as settings of path's extension.
    QList<Settings::Change> testKindChanges(const QString &path) const;
    // Stores changes in one locked write; asks again while another window
    // holds the file.
    bool storeSettings(const QList<Settings::Change> &changes, bool report);
    // "Opravdu smazat ?" before a "Vymazat databázi" button deletes anything.
    bool confirmClearing();
    // Shows the lesson browser and reads the lessons again after a change.
    void runEditor();
    // The dictionary and its review file read afresh.
    ReviewOverview readReviews(DueCards detail) const;
    // The status line: the progress of the lesson under the selection bar.
    void showProgress();
    // What the window's ticks ask a test of the mode to hold.
    TestRequest testRequest(TestMode mode) const;

    // File dialogs of the menu "Slovník" (fmain_commands.cpp).
    struct DialogMemory {
        QString fileName; // without its folder
        QString filter;
    };
    void createFileDialogs();
    // Shows dlg in the dictionary folder with fileName (the remembered one
    // when empty); the chosen path, or empty when cancelled. With
    // askOverwrite an existing file other than keep needs a Yes first.
    QString runFileDialog(QFileDialog *dlg, DialogMemory &memory, const QString &fileName, bool askOverwrite = false,
                          const QString &keep = {});
    // Leaves the open dictionary for path with empty test lists.
    void switchDictionary(const QString &path);

public:
    // Controls, named as the rest of the program and the tests find them.
    QMenu *Slovnik1 = nullptr;
    QAction *Vytvoitnov1 = nullptr;
    QAction *Otevt1 = nullptr;
    QAction *Uloitjako1 = nullptr;
    QAction *Import1 = nullptr;
    // Also in the context menu of grbChyby.
    QAction *mniRemoveMastered = nullptr;
    QAction *mniScheduleReviews = nullptr;
    QAction *mniReviews = nullptr;
    QAction *mniClearReviews = nullptr;
    QPushButton *btnReviews = nullptr;
    QLabel *lblProgress = nullptr;
    QPushButton *btnAll = nullptr;
    QGroupBox *grbLekce = nullptr;
    QListView *lbLekce = nullptr;
    QPushButton *btnNoAll = nullptr;
    QPushButton *btnTest = nullptr;
    QPushButton *btnView = nullptr;
    QPushButton *btnStatistika = nullptr;
    QPushButton *btnErrors = nullptr;
    QPushButton *btnShowErrors = nullptr;
    QPushButton *btnAbout = nullptr;
    QLabel *Label1 = nullptr;
    QGroupBox *grbTestDe = nullptr;
    QListWidget *chbChoice = nullptr;
    QGroupBox *grbChyby = nullptr;
    QCheckBox *chbSaveErrors = nullptr;
    QPushButton *btnClearErrors = nullptr;
    QGroupBox *grbStatistika = nullptr;
    QCheckBox *chbStatistika = nullptr;
    QPushButton *btnClearStatistika = nullptr;
    // Created at their first use: the file system model starts a thread.
    QFileDialog *dlgOpen = nullptr;
    QFileDialog *dlgSave = nullptr;

private:
    LexitkaApp &m_app;
    LessonListModel *m_lessons = nullptr;
    Settings m_settings;
    QString m_dictionaryFolder;
    DialogMemory m_openMemory;
    DialogMemory m_saveMemory;
    // What the counts were made from.
    struct ReviewStamps {
        QString dictionary;
        FileStamp dictionaryFile;
        FileStamp reviews;
        QDate today;
        int language = 0;
        bool on = false;
        bool operator==(const ReviewStamps &) const = default;
    };
    std::optional<ReviewStamps> m_reviewStamps;
    ReviewOverview m_overview;
};

} // namespace lexitka
