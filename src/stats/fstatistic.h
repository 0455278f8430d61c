#pragma once

#include "exam/duereviews.h"
#include "stats/statistics.h"
#include "stats/statisticsreport.h"
#include "stats/statisticstable.h"

#include <QDate>
#include <QDialog>
#include <QList>
#include <QStringList>

class QBarCategoryAxis;
class QBarSeries;
class QBarSet;
class QChart;
class QChartView;
class QGraphicsSimpleTextItem;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QValueAxis;

namespace lexitka {

class StatisticsModel;

// The statistics of the current language: every record in a table, the
// average, and a bar chart of the records that pass the filter.
//
// The value marks are our own items: the chart's own labels are pushed
// inside a bar of 100 and vanish in its colour.
//
// The chart holds only the bars that fit its width and scrolls over the rest
// with sbChart: thousands of bars in one view would be unreadable slivers,
// and drawing them all would cost seconds.
class TfrmStatistic : public QDialog {
    Q_OBJECT
public:
    TfrmStatistic();
    ~TfrmStatistic() override;

    // The lines of the file, or its bytes as the main window loaded them;
    // the window only reads.
    void setLines(const QList<QByteArray> &lines);
    void setText(QByteArray text);

    // The cards due on each of the next days from today, or none: the
    // forecast is hidden while reviews are not scheduled.
    void setForecast(const std::optional<std::array<int, kForecastDays>> &counts, const QDate &today);

    // Fills the table and the overall average, then ShowGraf.
    void FormShow();
    // Runs FormShow as the window is about to be shown.
    void setVisible(bool visible) override;
    // Refills the chart and the filtered average from the filter in edtZ.
    void ShowGraf();

    // What the chart holds: every passing record, and the slice on screen.
    const ChartSelection &chartData() const { return m_chart; }
    qsizetype firstVisibleBar() const { return m_first; }
    qsizetype visibleBarCount() const;
    // Day labels of the bars on screen, as the user reads them.
    QStringList visibleDays() const;
    // Value marks above the bars on screen.
    QStringList valueMarks() const;

public slots:
    void btnShowClick();
    void chbVseClick(bool checked);
    void btnOKClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void makeControlsOnce();
    void fillSeries();
    void placeMarks();
    void updateScrollRange();
    qsizetype barsThatFit() const;

public:
    StatisticsTable *lsvItems = nullptr;
    QChartView *Chart1 = nullptr;
    QChart *chart = nullptr;
    QBarSeries *Series1 = nullptr;
    QBarSet *barSet = nullptr;
    QBarCategoryAxis *axisDays = nullptr;
    QValueAxis *axisValues = nullptr;
    QScrollBar *sbChart = nullptr;
    QLabel *lblPrumer = nullptr;
    QCheckBox *chbVse = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *edtZ = nullptr;
    QPushButton *btnShow = nullptr;
    QPushButton *btnOK = nullptr;
    QGroupBox *grbForecast = nullptr;
    // A day's name above its count of cards.
    std::array<QLabel *, kForecastDays> lblForecastDay{};
    std::array<QLabel *, kForecastDays> lblForecastCount{};

private:
    StatisticsReport m_report;
    StatisticsModel *m_model = nullptr;
    ChartSelection m_chart;
    qsizetype m_first = 0;
    qsizetype m_shown = 0;
    QList<QGraphicsSimpleTextItem *> m_marks;
};

} // namespace lexitka
