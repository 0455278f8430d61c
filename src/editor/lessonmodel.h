#pragma once

#include "data/codepage.h"
#include "editor/lessonbook.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QStyledItemDelegate>

namespace lexitka {

// The grid's rows: one line of the lesson each, parsed only when a cell is
// asked for, so a lesson of any size opens at once. Columns: article text,
// word, plural or verb forms, translation.
class LessonModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The code page a cell's bytes are shown in (a CodePage as int).
    static constexpr int CodePageRole = Qt::UserRole + 1;

    explicit LessonModel(QObject *parent = nullptr);

    // Takes a copy of the lesson's lines (shared, so nothing is copied
    // until the book changes them).
    void setLines(LineStore lines, int languageCode);
    const LineStore &lines() const { return m_lines; }
    // The shown lesson changed as said; `now` is its lines afterwards.
    void linesInserted(LineStore now, int first, int count);
    void linesRemoved(LineStore now, int first, int count);
    void linesChanged(LineStore now, int first, int last);
    void linesReordered(LineStore now);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // A cell typed over in place: the window decides and makes it an undo
    // step, so the model changes only when the book does.
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    void cellEdited(int row, int column, const QString &text);

public:
    // A whole row's colour, chosen by the text of its column 0.
    static QColor rowColour(const QString &articleCell);
    CodePage columnCodePage(int column) const;

private:
    const WordFields &fieldsOf(int row) const;

    LineStore m_lines;
    int m_language = 0;
    // Painting asks for a row's cells one after another: parse it once.
    mutable int m_cachedRow = -1;
    mutable WordFields m_cached;
};

// Paints a cell as the grid shows words: the row's colour (white when
// selected), the text 2 pixels in from the left at the top, clipped.
class LessonDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // The colour a cell's text is drawn in.
    static QColor textColour(const QModelIndex &index, bool selected);
};

} // namespace lexitka
