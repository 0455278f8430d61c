#pragma once

#include "editor/lessonmodel.h"

#include <functional>

namespace lexitka {

class Keyboards;

// The grid's cells typed over in place as the word dialog's fields are:
// the foreign word on the layout and with the typing aid of the language
// (French, Spanish and Russian words on the English layout with their
// letters; others on the Czech one), every other column on the Czech
// layout. Enter or Tab with a text the column cannot hold shows why and
// leaves the cell open, as "OK" in the word dialog does.
class CellEditorDelegate final : public LessonDelegate {
public:
    // language: the open dictionary's; accept: says why a column cannot
    // take a text, to the user, and returns false then.
    CellEditorDelegate(QObject *parent, std::function<int()> language,
                       std::function<bool(int column, const QString &text)> accept);
    void setKeyboards(Keyboards *keyboards) { m_keyboards = keyboards; }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool onForeignLayout(int column) const;
    void entered(int column) const;

    std::function<int()> m_language;
    std::function<bool(int, const QString &)> m_accept;
    Keyboards *m_keyboards = nullptr;
    bool m_refusing = false; // a refusal is being shown over the editor
};

} // namespace lexitka
