#include "fmain.h"

#include "app/application.h"
#include "app/lessonlist.h"
#include "app/utf8open.h"
#include "data/displaytext.h"
#include "data/codepage.h"
#include "data/dictionary.h"
#include "data/inifile.h"
#include "data/profile.h"
#include "editor/ffind.h"
#include "platform/fonts.h"
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
#include <QStringDecoder>

namespace lexitka {
namespace {

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 378;
const QByteArray kSection = "Slovnik";

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

bool hasFolderPart(const QString &path)
{
    return path.contains(u'/') || path.contains(u'\\');
}

// A path from the settings: UTF-8 as this program writes it, or windows-1250
// as a settings file written on another system holds it.
QString settingsPathValue(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? decode(bytes, CodePage::Cp1250) : text;
}

} // namespace

TfrmMain::TfrmMain(LexitkaApp &app, const QString &dictionaryArg) : m_app(app)
{
    setObjectName(QStringLiteral("frmMain"));
    setAcceptDrops(true);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    buildControls();
    FormCreate(dictionaryArg);
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::buildControls()
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

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    client->setFont(tahoma(11));
    setCentralWidget(client);

    btnAll = make<QPushButton>(client, "btnAll", QStringLiteral("Vybrat všechny lekce"), {5, 16, 110, 25});
    grbLekce = make<QGroupBox>(client, "grbLekce", QStringLiteral("  Lekce:  "), {120, 8, 217, 185});
    m_lessons = new LessonListModel(this);
    lbLekce = new QListView(grbLekce);
    lbLekce->setModel(m_lessons);
    lbLekce->setItemDelegate(new LessonListDelegate(lbLekce));
    lbLekce->setObjectName(QStringLiteral("lbLekce"));
    lbLekce->setGeometry(8, 16, 201, 161);
    lbLekce->setFont(verdana(13));
    lbLekce->setFrameShape(QFrame::NoFrame);
    lbLekce->setFlow(QListView::TopToBottom);
    lbLekce->setWrapping(true);
    lbLekce->setResizeMode(QListView::Adjust);
    lbLekce->setGridSize(QSize(100, QFontMetrics(lbLekce->font()).height() + 3));
    lbLekce->setUniformItemSizes(true); // no text is measured: laying out a million names stays quick
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
    btnShowErrors = make<QPushButton>(client, "btnShowErrors", QStringLiteral("Zobraz moje chyby"), {160, 232, 137, 25});
    btnAbout = make<QPushButton>(client, "btnAbout", QStringLiteral("O autorech"), {304, 232, 137, 25});
    Label1 = make<QLabel>(client, "Label1", QStringLiteral("Nastavení:"), {});
    Label1->move(8, 262);
    Label1->adjustSize();
    grbTestDe = make<QGroupBox>(client, "grbTestDe", QStringLiteral("  Zkoušet:  "), {16, 283, 137, 81});
    chbChoice = new QListWidget(client);
    chbChoice->setObjectName(QStringLiteral("chbChoice"));
    chbChoice->setGeometry(20, 300, 128, 57);
    chbChoice->setFont(verdana(11));
    chbChoice->setFrameShape(QFrame::NoFrame);
    chbChoice->raise();
    grbChyby = make<QGroupBox>(client, "grbChyby", QStringLiteral("  Chyby:  "), {160, 283, 137, 81});
    chbSaveErrors = make<QCheckBox>(grbChyby, "chbSaveErrors", QStringLiteral("Ukládat chyby"), {8, 21, 113, 17});
    btnClearErrors = make<QPushButton>(grbChyby, "btnClearErrors", QStringLiteral("Vymazat databázi"), {16, 48, 97, 25});
    grbStatistika = make<QGroupBox>(client, "grbStatistika", QStringLiteral("  Statistika:  "), {304, 283, 137, 81});
    chbStatistika = make<QCheckBox>(grbStatistika, "chbStatistika", QStringLiteral("Vést statistiku"), {8, 21, 113, 17});
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

    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmMain::FormCreate(const QString &dictionaryArg)
{
    UTest &test = m_app.test();
    test.ResetLists();
    const ProfileFile settings(m_app.settingsPath());

    // A bare file name means the program folder, never the current folder.
    auto inProgramFolder = [this](const QString &path) {
        return hasFolderPart(path) ? path : QDir(m_app.programFolder()).filePath(path);
    };
    QString remembered = settingsPathValue(settings.readString(kSection, "File", {}));
    if (remembered.isEmpty())
        remembered = QStringLiteral("data.en");
    remembered = inProgramFolder(remembered);
    QString path = remembered;
    if (!dictionaryArg.isEmpty()) {
        // "File" must still find it from another folder.
        path = inProgramFolder(hasFolderPart(dictionaryArg) ? QFileInfo(dictionaryArg).absoluteFilePath()
                                                            : dictionaryArg);
        if (!QFileInfo::exists(path)) {
            m_app.messenger().error(this, QStringLiteral("Slovník %1 nebyl nalezen. Otevírá se naposledy použitý "
                                                         "slovník %2.")
                                              .arg(shownPath(path), shownPath(remembered)));
            path = remembered;
        }
    }
    test.DictionaryPath = path;

    m_dictionaryFolder = settingsPathValue(settings.readString(kSection, "Dir", {}));
    // "Slovniky\" and "Slovniky/" are the folder "Slovniky".
    while (m_dictionaryFolder.size() > 1 && (m_dictionaryFolder.endsWith(u'/') || m_dictionaryFolder.endsWith(u'\\')))
        m_dictionaryFolder.chop(1);
    if (m_dictionaryFolder.isEmpty())
        m_dictionaryFolder = QDir(m_app.programFolder()).filePath(QStringLiteral("Slovniky"));

    chbStatistika->setChecked(settings.readBool(kSection, "statistic", true));
    chbSaveErrors->setChecked(settings.readBool(kSection, "errors", true));

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

    m_lessons->setNames(IniDocument::fromFile(path, IniDocument::Mode::NamesOnly).sectionNames());
    ShowSlovnik(test.LanguageCode);

    const QByteArray section = extensionSection(path, test.LanguageCode);
    const ProfileFile settings(m_app.settingsPath());
    const int kinds = chbChoice->count();
    const bool german = section == "de";
    for (int i = 0; i < kinds; ++i) {
        bool checked = false;
        if (i == 0)
            checked = settings.readBool(section, "0", true);
        else if (i == 1)
            checked = settings.readBool(section, "1", false);
        else if (german)
            checked = settings.readBool(section, QByteArray::number(i), false);
        chbChoice->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
    if (TfrmFind *find = m_app.findDialog())
        find->ResetPosition();
}

void TfrmMain::ShowSlovnik(int languageCode)
{
    const LanguageInfo &lang = languageInfo(languageCode);
    // A path of megabytes from the settings would make a title no window system takes.
    setWindowTitle(lang.titlePrefix + displayText(QFileInfo(m_app.test().DictionaryPath).fileName()) + u']');
    chbChoice->clear();
    for (const QString &kind : lang.testKinds) {
        auto *item = new QListWidgetItem(kind, chbChoice);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
}

bool TfrmMain::CloseSlovnik(const QString &path, bool report)
{
    const QByteArray section = extensionSection(path, m_app.test().LanguageCode);
    ProfileFile settings(m_app.settingsPath());
    const QList<bool> ticks = testKindTicks();
    const int stored = section == "de" ? 4 : 2;
    bool ok = true;
    for (int i = 0; i < stored; ++i)
        ok = settings.writeBool(section, QByteArray::number(i), i < ticks.size() && ticks[i]) && ok;
    if (!ok && report)
        reportSettingsFailure();
    return ok;
}

void TfrmMain::reportSettingsFailure()
{
    m_app.messenger().error(this, QStringLiteral("Nastavení nelze uložit do souboru %1.")
                                      .arg(shownPath(m_app.settingsPath())));
}

bool TfrmMain::FormClose()
{
    UTest &test = m_app.test();
    test.ResetLists();
    ProfileFile settings(m_app.settingsPath());
    // A path that would read back as another one (a line break or a blank
    // at its end) is not stored: the next start opens the last good one.
    const QByteArray file = test.DictionaryPath.toLocal8Bit();
    bool ok = true;
    if (canStoreValue(file) && QString::fromLocal8Bit(file) == test.DictionaryPath)
        ok = settings.writeString(kSection, "File", file);
    ok = settings.writeBool(kSection, "statistic", chbStatistika->isChecked()) && ok;
    ok = settings.writeBool(kSection, "errors", chbSaveErrors->isChecked()) && ok;
    ok = CloseSlovnik(test.DictionaryPath, false) && ok;
    if (!ok)
        reportSettingsFailure();
    return ok;
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

QList<QByteArray> TfrmMain::lessonNames() const { return m_lessons->names(); }

} // namespace lexitka
