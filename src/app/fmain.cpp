#include "fmain.h"

#include "app/application.h"
#include "data/dictionaryargument.h"
#include "app/lessonlist.h"
#include "platform/utf8open.h"
#include "data/utf8dictionary.h"
#include "data/displaytext.h"
#include "data/codepage.h"
#include "data/dictionary.h"
#include "data/inifile.h"
#include "data/nativefile.h"
#include "data/nativepath.h"
#include "data/profile.h"
#include "data/settings.h"
#include "editor/ffind.h"
#include "platform/busyretry.h"
#include "platform/fonts.h"
#include "platform/help.h"
#include "platform/messenger.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLayout>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

namespace lexitka {
namespace {

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 378;

template <class W>
W *make(QWidget *parent, const char *name, const QString &text, QRect geometry)
{
    auto *w = new W(text, parent);
    w->setObjectName(QString::fromLatin1(name));
    if (geometry.isValid())
        w->setGeometry(geometry);
    return w;
}

QList<bool> ticksOf(const QListWidget *list)
{
    QList<bool> ticks;
    for (int i = 0; i < list->count(); ++i)
        ticks.append(list->item(i)->checkState() == Qt::Checked);
    return ticks;
}

bool hasFolderPart(const QString &path) { return path.contains(u'/') || path.contains(u'\\'); }

// A path from the settings: the name's bytes as this program writes them,
// or windows-1250 as a settings file written on another system holds it;
// bytes that are no UTF-8 are the name itself where such a file is.
template <class Place>
QString settingsPathValue(const QByteArray &bytes, const Place &place)
{
    if (bytes.isEmpty())
        return {};
    const std::optional<QString> text = decodeUtf8(bytes);
    if (text)
        return place(*text);
    const QString native = place(pathFromNative(bytes));
    return pathExists(native) ? native : place(decode(bytes, CodePage::Cp1250));
}

} // namespace

TfrmMain::TfrmMain(LexitkaApp &app, const QString &dictionaryArg) : m_app(app), m_settings(app.settingsPath())
{
    setObjectName(QStringLiteral("frmMain"));
    setAcceptDrops(true);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    makeControls();
    FormCreate(dictionaryArg);
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::makeControls()
{
    // "&" marks the letter that Alt (in the bar) or the key alone (in the open menu) takes.
    Slovnik1 = menuBar()->addMenu(QStringLiteral("&Slovník"));
    Slovnik1->setObjectName(QStringLiteral("Slovnik1"));
    auto addItem = [this](const char *name, const QString &text, const QKeySequence &shortcut = {}) {
        QAction *a = Slovnik1->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(shortcut);
        return a;
    };
    Vytvoitnov1 = addItem("Vytvoitnov1", QStringLiteral("&Nový"), QKeySequence(Qt::CTRL | Qt::Key_N));
    Otevt1 = addItem("Otevt1", QStringLiteral("&Otevřít"), QKeySequence(Qt::CTRL | Qt::Key_O));
    Uloitjako1 = addItem("Uloitjako1", QStringLiteral("&Export..."));
    Import1 = addItem("Import1", QStringLiteral("&Import..."));
    connect(Vytvoitnov1, &QAction::triggered, this, &TfrmMain::Vytvoitnov1Click);
    connect(Otevt1, &QAction::triggered, this, &TfrmMain::Otevt1Click);
    connect(Uloitjako1, &QAction::triggered, this, &TfrmMain::Uloitjako1Click);
    connect(Import1, &QAction::triggered, this, &TfrmMain::Import1Click);
    // An option of the mistakes: a place in a menu moves none of the window's controls.
    Slovnik1->addSeparator();
    mniRemoveMastered = addItem("mniRemoveMastered", QStringLiteral("Odebírat &zvládnuté chyby"));
    mniRemoveMastered->setCheckable(true);
    connect(mniRemoveMastered, &QAction::triggered, this, &TfrmMain::mniRemoveMasteredClick);
    mniScheduleReviews = addItem("mniScheduleReviews", QStringLiteral("&Plánovat opakování"));
    mniScheduleReviews->setCheckable(true);
    connect(mniScheduleReviews, &QAction::triggered, this, &TfrmMain::mniScheduleReviewsClick);
    mniReviews = addItem("mniReviews", QStringLiteral("Op&akovat"), QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(mniReviews, &QAction::triggered, this, &TfrmMain::btnReviewsClick);
    mniClearReviews = addItem("mniClearReviews", QStringLiteral("&Vymazat opakování..."));
    connect(mniClearReviews, &QAction::triggered, this, &TfrmMain::mniClearReviewsClick);
    addHelpMenu(menuBar(), this, m_app.messenger());

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    client->setFont(tahoma(11));
    setCentralWidget(client);

    btnAll = make<QPushButton>(client, "btnAll", QStringLiteral("Vybrat všechny lekce"), {5, 16, 110, 25});
    // Beside the lessons, in room the window had free.
    btnReviews = make<QPushButton>(client, "btnReviews", QStringLiteral("Opakovat"), {5, 48, 110, 25});
    grbLekce = make<QGroupBox>(client, "grbLekce", QStringLiteral("  Lekce:  "), {120, 8, 217, 185});
    m_lessons = new LessonListModel(this);
    lbLekce = new QListView(grbLekce);
    lbLekce->setModel(m_lessons);
    lbLekce->setItemDelegate(new LessonListDelegate(lbLekce));
    lbLekce->setObjectName(QStringLiteral("lbLekce"));
    lbLekce->setAccessibleName(QStringLiteral("Lekce"));
    lbLekce->setGeometry(8, 16, 201, 161);
    lbLekce->setFont(verdana(13));
    lbLekce->setFrameShape(QFrame::NoFrame);
    lbLekce->setFlow(QListView::TopToBottom);
    lbLekce->setWrapping(true);
    lbLekce->setResizeMode(QListView::Adjust);
    lbLekce->setGridSize(QSize(100, QFontMetrics(lbLekce->font()).height() + 3));
    lbLekce->setUniformItemSizes(true); // no text is measured: laying out a million names stays quick
    lbLekce->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    lbLekce->setEditTriggers(QAbstractItemView::NoEditTriggers);
    {
        QPalette p = lbLekce->palette();
        p.setColor(QPalette::Base, p.color(QPalette::Window));
        lbLekce->setPalette(p);
    }
    btnNoAll = make<QPushButton>(client, "btnNoAll", QStringLiteral("Zrušit všechny lekce"), {346, 15, 109, 25});
    btnTest = make<QPushButton>(client, "btnTest", QStringLiteral("Zkoušej !"), {16, 200, 137, 25});
    btnView = make<QPushButton>(client, "btnView", QStringLiteral("Prohlížet a editovat lekce"), {160, 200, 137, 25});
    btnStatistika = make<QPushButton>(client, "btnStatistika", QStringLiteral("Statistiky"), {304, 200, 137, 25});
    btnErrors = make<QPushButton>(client, "btnErrors", QStringLiteral("Zkoušet moje chyby"), {16, 232, 137, 25});
    btnShowErrors =
        make<QPushButton>(client, "btnShowErrors", QStringLiteral("Zobraz moje chyby"), {160, 232, 137, 25});
    btnAbout = make<QPushButton>(client, "btnAbout", QStringLiteral("O autorech"), {304, 232, 137, 25});
    Label1 = make<QLabel>(client, "Label1", QStringLiteral("Nastavení:"), {});
    Label1->move(8, 262);
    Label1->adjustSize();
    grbTestDe = make<QGroupBox>(client, "grbTestDe", QStringLiteral("  Zkoušet:  "), {16, 283, 137, 81});
    chbChoice = new QListWidget(client);
    chbChoice->setObjectName(QStringLiteral("chbChoice"));
    chbChoice->setAccessibleName(QStringLiteral("Zkoušet"));
    chbChoice->setGeometry(20, 300, 128, 57);
    chbChoice->setFont(verdana(11));
    chbChoice->setFrameShape(QFrame::NoFrame);
    chbChoice->raise();
    grbChyby = make<QGroupBox>(client, "grbChyby", QStringLiteral("  Chyby:  "), {160, 283, 137, 81});
    chbSaveErrors = make<QCheckBox>(grbChyby, "chbSaveErrors", QStringLiteral("Ukládat chyby"), {8, 21, 113, 17});
    btnClearErrors =
        make<QPushButton>(grbChyby, "btnClearErrors", QStringLiteral("Vymazat databázi"), {16, 48, 97, 25});
    grbChyby->addAction(mniRemoveMastered);
    grbChyby->setContextMenuPolicy(Qt::ActionsContextMenu);
    grbStatistika = make<QGroupBox>(client, "grbStatistika", QStringLiteral("  Statistika:  "), {304, 283, 137, 81});
    chbStatistika =
        make<QCheckBox>(grbStatistika, "chbStatistika", QStringLiteral("Vést statistiku"), {8, 21, 113, 17});
    btnClearStatistika =
        make<QPushButton>(grbStatistika, "btnClearStatistika", QStringLiteral("Vymazat databázi"), {16, 48, 105, 25});

    connect(btnAll, &QPushButton::clicked, this, &TfrmMain::btnAllClick);
    connect(btnNoAll, &QPushButton::clicked, this, &TfrmMain::btnNoAllClick);
    connect(btnTest, &QPushButton::clicked, this, &TfrmMain::btnTestClick);
    connect(btnErrors, &QPushButton::clicked, this, &TfrmMain::btnErrorsClick);
    connect(btnClearErrors, &QPushButton::clicked, this, &TfrmMain::btnClearErrorsClick);
    connect(btnStatistika, &QPushButton::clicked, this, &TfrmMain::btnStatistikaClick);
    connect(btnClearStatistika, &QPushButton::clicked, this, &TfrmMain::btnClearStatistikaClick);
    connect(btnAbout, &QPushButton::clicked, this, &TfrmMain::btnAboutClick);
    connect(btnView, &QPushButton::clicked, this, &TfrmMain::btnViewClick);
    connect(btnShowErrors, &QPushButton::clicked, this, &TfrmMain::btnShowErrorsClick);

    connect(btnReviews, &QPushButton::clicked, this, &TfrmMain::btnReviewsClick);
    connect(lbLekce->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { showProgress(); });

    // The foot of the window, below every control.
    lblProgress = new QLabel(this);
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    lblProgress->setAccessibleName(QStringLiteral("Postup v lekci"));
    lblProgress->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(lblProgress, 1);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmMain::FormCreate(const QString &dictionaryArg)
{
    UTest &test = m_app.test();
    test.ResetLists();
    // Read once for every key: a settings file may be megabytes long.
    m_settings.load();
    const Settings &settings = m_settings;

    // A bare file name means the program folder, never the current folder.
    auto inProgramFolder = [this](const QString &path) {
        return hasFolderPart(path) ? path : QDir(m_app.programFolder()).filePath(path);
    };
    QString remembered = settingsPathValue(settings.file(), inProgramFolder);
    if (remembered.isEmpty())
        remembered = inProgramFolder(QStringLiteral("data.en"));
    QString path = remembered;
    if (!dictionaryArg.isEmpty()) {
        // Absolute, so that "File" still finds it from another folder.
        const QByteArray argument = nativePath(dictionaryArg);
        const DictionaryArgument found = findDictionaryArgument(argument, currentFolder(), m_app.programFolder());
        path = found.path;
        if (path.isEmpty()) {
            m_app.messenger().error(this, dictionaryNotFoundMessage(argument, found, remembered));
            path = remembered;
        }
    }
    test.DictionaryPath = path;

    m_dictionaryFolder = settingsPathValue(settings.dir(), [](const QString &p) { return p; });
    // "Slovniky\" and "Slovniky/" are the folder "Slovniky".
    while (m_dictionaryFolder.size() > 1 && (m_dictionaryFolder.endsWith(u'/') || m_dictionaryFolder.endsWith(u'\\')))
        m_dictionaryFolder.chop(1);
    if (m_dictionaryFolder.isEmpty())
        m_dictionaryFolder = QDir(m_app.programFolder()).filePath(QStringLiteral("Slovniky"));

    chbStatistika->setChecked(settings.statistic());
    chbSaveErrors->setChecked(settings.errors());
    mniRemoveMastered->setChecked(settings.removeMastered());
    test.RemoveMastered = settings.removeMastered();
    test.MasteredAfter = settings.masteredAfter();
    mniScheduleReviews->setChecked(settings.scheduleReviews());
    test.ScheduleReviews = settings.scheduleReviews();

    m_app.keyboards().findLayouts();
    OpenSlovnik(test.DictionaryPath);
}

void TfrmMain::OpenSlovnik(const QString &path, Reading reading)
{
    UTest &test = m_app.test();
    if (const auto code = languageForExtension(QFileInfo(path).suffix()))
        test.LanguageCode = *code;
    if (reading == Reading::Open)
        offerUtf8Conversion(path, test.LanguageCode, m_app.messenger(), this);

    m_lessons->setNames(SectionNames::fromFile(path));
    ShowSlovnik(test.LanguageCode);

    const QByteArray section = extensionSection(path, test.LanguageCode);
    const int kinds = chbChoice->count();
    const bool german = section == "de";
    const std::array<bool, 4> stored = m_settings.testKinds(section);
    for (int i = 0; i < kinds; ++i) {
        const bool checked = (i < 2 || german) && i < int(stored.size()) && stored[size_t(i)];
        chbChoice->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
    if (TfrmFind *find = m_app.findDialog())
        find->ResetPosition();
    recountReviews(true);
}

void TfrmMain::ShowSlovnik(int languageCode)
{
    const LanguageInfo &lang = languageInfo(languageCode);
    // A path of megabytes from the settings would make a title no window system takes.
    setWindowTitle(lang.titlePrefix + shownFileName(m_app.test().DictionaryPath) + u']');
    chbChoice->clear();
    for (const QString &kind : lang.testKinds) {
        auto *item = new QListWidgetItem(kind, chbChoice);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
}

QList<Settings::Change> TfrmMain::testKindChanges(const QString &path) const
{
    const QByteArray section = extensionSection(path, m_app.test().LanguageCode);
    const QList<bool> ticks = testKindTicks();
    const int stored = section == "de" ? 4 : 2;
    QList<Settings::Change> changes;
    for (int i = 0; i < stored; ++i)
        changes.append(Settings::testKindChange(section, i, i < ticks.size() && ticks[i]));
    return changes;
}

bool TfrmMain::storeSettings(const QList<Settings::Change> &changes, bool report)
{
    const UpdateResult result =
        retryWhileBusy(m_app.messenger(), this, m_settings.path(), [&] { return m_settings.store(changes); });
    if (result != UpdateResult::Done && report)
        reportSettingsFailure();
    return result == UpdateResult::Done;
}

bool TfrmMain::CloseSlovnik(const QString &path, bool report) { return storeSettings(testKindChanges(path), report); }

void TfrmMain::reportSettingsFailure()
{
    m_app.messenger().error(
        this, QStringLiteral("Nastavení nelze uložit do souboru %1.").arg(shownPath(m_app.settingsPath())));
}

bool TfrmMain::FormClose()
{
    UTest &test = m_app.test();
    test.ResetLists();
    QList<Settings::Change> changes;
    // A path that would read back as another one (a line break or a blank
    // at its end, or more than a path can hold) is not stored: the next
    // start opens the last good one.
    const QByteArray file = nativePath(test.DictionaryPath);
    if (canStoreValue(file) && file.size() <= Settings::kMaxPathBytes && pathFromNative(file) == test.DictionaryPath)
        changes.append(Settings::fileChange(file));
    changes.append(Settings::statisticChange(chbStatistika->isChecked()));
    changes.append(Settings::errorsChange(chbSaveErrors->isChecked()));
    changes.append(testKindChanges(test.DictionaryPath));
    return storeSettings(changes, true);
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    FormClose(); // the program ends even when the settings could not be stored
    event->accept();
}

void TfrmMain::btnAllClick() { m_lessons->setAllTicked(true); }

void TfrmMain::btnNoAllClick() { m_lessons->setAllTicked(false); }

QList<bool> TfrmMain::lessonTicks() const { return m_lessons->ticks(); }

QList<bool> TfrmMain::testKindTicks() const { return ticksOf(chbChoice); }

int TfrmMain::highlightedLesson() const
{
    const QModelIndex current = lbLekce->currentIndex();
    return current.isValid() && lbLekce->selectionModel()->isSelected(current) ? current.row() : -1;
}

QList<QByteArray> TfrmMain::lessonNames() const { return m_lessons->names().toList(); }

} // namespace lexitka
