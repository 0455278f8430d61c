#include "support/fakes.h"

namespace lexitka::testing {

int rowCount(const QAbstractItemView *view) { return view->model()->rowCount(); }

QStringList itemTexts(const QAbstractItemView *view)
{
    QStringList texts;
    const QAbstractItemModel *model = view->model();
    for (int i = 0; i < model->rowCount(); ++i)
        texts.append(model->index(i, 0).data().toString());
    return texts;
}

void setTicked(QAbstractItemView *view, int row, bool ticked)
{
    QAbstractItemModel *model = view->model();
    model->setData(model->index(row, 0), ticked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

void tick(QAbstractItemView *view, std::initializer_list<int> rows)
{
    for (int i = 0; i < rowCount(view); ++i)
        setTicked(view, i, false);
    for (int r : rows)
        setTicked(view, r, true);
}

} // namespace lexitka::testing
