#include "fstatistic.h"

#include "data/codepage.h"
#include "data/displaytext.h"
#include "platform/fonts.h"

#include <QAbstractTableModel>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QEvent>
#include <QGraphicsSimpleTextItem>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <QValueAxis>

namespace lexitka {

namespace {

constexpr int kListHeight = 170;
constexpr int kChartHeight = 260;
// Room per bar: wide enough for a day label such as "12.12." under it.
constexpr int kBarSlot = 38;
// The value axis and the chart's own margins.
constexpr int kChartFrame = 70;
constexpr qsizetype kMinBars = 5;
const QColor kNavy(0, 0, 128);
// Categories must differ, but days repeat: a repeated day gets zero-width
// spaces after it, which nobody sees.
constexpr char16_t kZeroWidthSpace = u'\u200B';

// A record may hold a field of megabytes: cells and labels show its start.
QString shown(QByteArrayView bytes) { return displayText(bytes, CodePage::Cp1250); }

} // namespace

// The report rows, read on demand so that a long file opens at once.
class StatisticsModel final : public QAbstractTableModel {
public:
    explicit StatisticsModel(QObject *parent) : QAbstractTableModel(parent) { }

    void reset(const StatisticsReport *rows)
    {
        beginResetModel();
        m_rows = rows;
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() || !m_rows ? 0 : int(m_rows->size());
    }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 4; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || !m_rows)
            return {};
        if (role == Qt::TextAlignmentRole && index.column() == 1)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return {};
        const StatisticsRow row = m_rows->row(index.row());
        const QString text = shown(row.field(index.column()));
        // A line that is no record is shown as it is, without the per-cent sign.
        if (index.column() == 1 && row.value())
            return QString(text + QStringLiteral(" %"));
        return text;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal)
            return {};
        if (role == Qt::TextAlignmentRole && section == 1)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return {};
        switch (section) {
        case 0: return QStringLiteral("Dne");
        case 1: return QStringLiteral("Hodnocení  ");
        case 2: return QStringLiteral("Lekce");
        case 3: return QStringLiteral("Typ zkoušení");
        default: return {};
        }
    }

private:
    const StatisticsReport *m_rows = nullptr;
};

TfrmStatistic::TfrmStatistic()
{
    setObjectName(QStringLiteral("frmStatistic"));
    setWindowTitle(QStringLiteral("Statistika"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    makeControlsOnce();
    resize(620, 600);
}

TfrmStatistic::~TfrmStatistic() = default;

void TfrmStatistic::makeControlsOnce()
{
    lsvItems = new StatisticsTable(this);
    lsvItems->setObjectName(QStringLiteral("lsvItems"));
    lsvItems->setAccessibleName(QStringLiteral("Výsledky zkoušek"));
    lsvItems->setFont(verdana(11));
    lsvItems->setSelectionBehavior(QAbstractItemView::SelectRows);
    lsvItems->setSelectionMode(QAbstractItemView::SingleSelection);
    lsvItems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lsvItems->setFixedHeight(kListHeight);
    m_model = new StatisticsModel(lsvItems);
    lsvItems->setModel(m_model);
    lsvItems->setColumnWidth(1, 80);
    lsvItems->setColumnWidth(2, 190);
    lsvItems->setColumnWidth(3, 210);

    barSet = new QBarSet(QString());
    barSet->setColor(kNavy);
    barSet->setBorderColor(kNavy);
    Series1 = new QBarSeries;
    Series1->setObjectName(QStringLiteral("Series1"));
    Series1->append(barSet);

    chart = new QChart;
    chart->setTitle(QString());
    chart->legend()->hide();
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundVisible(true);
    chart->setAnimationOptions(QChart::NoAnimation);
    // Room above the plot for the mark of a bar of 100.
    chart->setMargins(QMargins(4, 18, 8, 4));
    chart->addSeries(Series1);

    axisDays = new QBarCategoryAxis;
    axisDays->setLabelsFont(tahoma(10));
    axisDays->setGridLineVisible(false);
    axisDays->setTruncateLabels(false);
    chart->addAxis(axisDays, Qt::AlignBottom);
    Series1->attachAxis(axisDays);
    axisValues = new QValueAxis;
    axisValues->setRange(0, 100);
    axisValues->setTickCount(11);
    axisValues->setLabelFormat(QStringLiteral("%d"));
    axisValues->setLabelsFont(tahoma(10));
    axisValues->setTruncateLabels(false);
    chart->addAxis(axisValues, Qt::AlignLeft);
    Series1->attachAxis(axisValues);

    Chart1 = new QChartView(chart, this); // the view owns the chart
    Chart1->setObjectName(QStringLiteral("Chart1"));
    Chart1->setAccessibleName(QStringLiteral("Graf úspěšnosti"));
    Chart1->setFixedHeight(kChartHeight);
    Chart1->setRenderHint(QPainter::Antialiasing, false);
    Chart1->installEventFilter(this);
    connect(chart, &QChart::plotAreaChanged, this, [this] { placeMarks(); });

    sbChart = new QScrollBar(Qt::Horizontal, this);
    sbChart->setObjectName(QStringLiteral("sbChart"));
    sbChart->setRange(0, 0);
    sbChart->hide();

    lblPrumer = new QLabel(QStringLiteral("Průměr :  %"), this);
    lblPrumer->setObjectName(QStringLiteral("lblPrumer"));
    lblPrumer->setFont(tahoma(13));
    chbVse = new QCheckBox(QStringLiteral("Ze všech lekcí dohormady"), this);
    chbVse->setObjectName(QStringLiteral("chbVse"));
    chbVse->setFont(tahoma(11));
    chbVse->setChecked(true);
    Label2 = new QLabel(QStringLiteral("Pouze z lekcí : "), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    edtZ = new QLineEdit(this);
    edtZ->setObjectName(QStringLiteral("edtZ"));
    Label2->setBuddy(edtZ);
    btnShow = new QPushButton(QStringLiteral("Zobraz"), this);
    btnShow->setObjectName(QStringLiteral("btnShow"));
    btnShow->setAutoDefault(false);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setAutoDefault(false);

    auto *controls = new QGridLayout;
    controls->addWidget(lblPrumer, 0, 0, 1, 3);
    controls->addWidget(chbVse, 1, 0, 1, 3);
    controls->addWidget(Label2, 2, 0);
    controls->addWidget(edtZ, 2, 1);
    controls->addWidget(btnShow, 2, 2);
    controls->addWidget(btnOK, 3, 2);
    controls->setColumnStretch(1, 1);

    // Below every control, so that none of them moves.
    grbForecast = new QGroupBox(QStringLiteral("  K opakování v příštích 14 dnech:  "), this);
    grbForecast->setObjectName(QStringLiteral("grbForecast"));
    grbForecast->setFont(tahoma(11));
    auto *days = new QGridLayout(grbForecast);
    for (int i = 0; i < kForecastDays; ++i) {
        lblForecastDay[size_t(i)] = new QLabel(grbForecast);
        lblForecastDay[size_t(i)]->setObjectName(QStringLiteral("lblForecastDay%1").arg(i));
        lblForecastCount[size_t(i)] = new QLabel(grbForecast);
        lblForecastCount[size_t(i)]->setObjectName(QStringLiteral("lblForecastCount%1").arg(i));
        lblForecastCount[size_t(i)]->setFont(tahoma(13));
        for (QLabel *l : {lblForecastDay[size_t(i)], lblForecastCount[size_t(i)]})
            l->setAlignment(Qt::AlignCenter);
        days->addWidget(lblForecastDay[size_t(i)], 0, i);
        days->addWidget(lblForecastCount[size_t(i)], 1, i);
    }
    grbForecast->hide();

    auto *top = new QVBoxLayout(this);
    top->addWidget(lsvItems);
    top->addWidget(Chart1);
    top->addWidget(sbChart);
    top->addLayout(controls);
    top->addWidget(grbForecast);
    top->addStretch(1);

    connect(btnShow, &QPushButton::clicked, this, &TfrmStatistic::btnShowClick);
    connect(btnOK, &QPushButton::clicked, this, &TfrmStatistic::btnOKClick);
    connect(chbVse, &QCheckBox::clicked, this, &TfrmStatistic::chbVseClick);
    connect(sbChart, &QScrollBar::valueChanged, this, [this](int value) {
        m_first = value;
        fillSeries();
    });
}

void TfrmStatistic::setForecast(const std::optional<std::array<int, kForecastDays>> &counts, const QDate &today)
{
    grbForecast->setVisible(counts.has_value());
    if (!counts)
        return;
    for (int i = 0; i < kForecastDays; ++i) {
        const QDate day = today.addDays(i);
        lblForecastDay[size_t(i)]->setText(i == 0 ? QStringLiteral("dnes") : day.toString(QStringLiteral("d. M.")));
        lblForecastCount[size_t(i)]->setText(QString::number((*counts)[size_t(i)]));
        // Read out as one: "středa 9. 12.: 6".
        lblForecastCount[size_t(i)]->setAccessibleName(
            QLocale(QLocale::Czech).toString(day, QStringLiteral("dddd d. M.: "))
            + QString::number((*counts)[size_t(i)]));
    }
}

// The table lets go of the old report first: it must not ask for rows that are gone.
void TfrmStatistic::setLines(const QList<QByteArray> &lines)
{
    m_model->reset(nullptr);
    m_report = StatisticsReport(lines);
}

void TfrmStatistic::setText(QByteArray text)
{
    m_model->reset(nullptr);
    m_report = StatisticsReport::fromText(std::move(text));
}

// Filled before it is shown, its layout already applied: the chart then
// lays out its axis labels once, at its final size, instead of once for
// the size it had and again for the one it gets.
void TfrmStatistic::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        ensurePolished();
        layout()->activate();
        FormShow();
    }
    QDialog::setVisible(visible);
}

void TfrmStatistic::FormShow()
{
    m_model->reset(&m_report);
    lblPrumer->setText(QStringLiteral("Průměr: %1 %").arg(m_report.overallAverage()));
    ShowGraf();
}

void TfrmStatistic::ShowGraf()
{
    m_chart = {};
    m_first = 0;
    if (m_report.isEmpty()) {
        updateScrollRange();
        fillSeries();
        return;
    }
    m_chart = m_report.select(encode(edtZ->text(), CodePage::Cp1250));
    updateScrollRange();
    // The newest records are the ones the user has come to see.
    m_first = m_chart.rows.size() - m_shown;
    {
        const QSignalBlocker block(sbChart);
        sbChart->setValue(int(m_first));
    }
    fillSeries();
    lblPrumer->setText(QStringLiteral("Průměr : %1 %").arg(m_chart.average));
}

qsizetype TfrmStatistic::barsThatFit() const
{
    return std::max<qsizetype>(kMinBars, (Chart1->width() - kChartFrame) / kBarSlot);
}

qsizetype TfrmStatistic::visibleBarCount() const { return m_shown; }

void TfrmStatistic::updateScrollRange()
{
    const qsizetype total = m_chart.rows.size();
    m_shown = std::min(total, barsThatFit());
    const QSignalBlocker block(sbChart);
    sbChart->setRange(0, int(total - m_shown));
    sbChart->setPageStep(int(std::max<qsizetype>(1, m_shown)));
    sbChart->setVisible(total > m_shown);
    m_first = std::clamp<qsizetype>(m_first, 0, total - m_shown);
    sbChart->setValue(int(m_first));
}

void TfrmStatistic::fillSeries()
{
    QList<qreal> values;
    QStringList days;
    values.reserve(m_shown);
    days.reserve(m_shown);
    QHash<QString, int> seen;
    for (qsizetype i = m_first; i < m_first + m_shown; ++i) {
        const StatisticsRow row = m_report.row(m_chart.rows[i]);
        values.append(*row.value());
        const QString day = shown(row.field(0));
        const int repeat = seen[day]++;
        days.append(day + QString(repeat, QChar(kZeroWidthSpace)));
    }
    barSet->remove(0, barSet->count());
    axisDays->setCategories(days);
    barSet->append(values);

    while (m_marks.size() > m_shown)
        delete m_marks.takeLast();
    while (m_marks.size() < m_shown) {
        auto *mark = new QGraphicsSimpleTextItem(chart);
        mark->setFont(tahoma(10));
        mark->setBrush(Qt::black);
        mark->setZValue(10);
        m_marks.append(mark);
    }
    for (qsizetype i = 0; i < m_shown; ++i)
        m_marks[i]->setText(QString::number(int(values[i])));
    placeMarks();
}

void TfrmStatistic::placeMarks()
{
    for (qsizetype i = 0; i < m_marks.size(); ++i) {
        QGraphicsSimpleTextItem *mark = m_marks[i];
        const QPointF top = chart->mapToPosition(QPointF(qreal(i), barSet->at(i)), Series1);
        const QRectF box = mark->boundingRect();
        mark->setPos(top.x() - box.width() / 2, top.y() - box.height() - 1);
    }
}

QStringList TfrmStatistic::valueMarks() const
{
    QStringList marks;
    for (const QGraphicsSimpleTextItem *mark : m_marks)
        marks.append(mark->text());
    return marks;
}

QStringList TfrmStatistic::visibleDays() const
{
    QStringList days = axisDays->categories();
    for (QString &d : days)
        d.remove(QChar(kZeroWidthSpace));
    return days;
}

bool TfrmStatistic::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Chart1 && event->type() == QEvent::Resize) {
        const qsizetype before = m_shown;
        const qsizetype first = m_first;
        const bool atEnd = m_first + m_shown >= m_chart.rows.size();
        updateScrollRange();
        if (atEnd) {
            m_first = m_chart.rows.size() - m_shown;
            const QSignalBlocker block(sbChart);
            sbChart->setValue(int(m_first));
        }
        if (m_shown != before || m_first != first)
            fillSeries();
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmStatistic::btnShowClick() { ShowGraf(); }

void TfrmStatistic::chbVseClick(bool checked)
{
    edtZ->setEnabled(!checked);
    if (checked)
        edtZ->clear();
}

void TfrmStatistic::btnOKClick() { accept(); }

} // namespace lexitka
