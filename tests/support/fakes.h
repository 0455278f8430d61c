#pragma once

#include "app/application.h"
#include "support/logicfakes.h"

#include <QAbstractItemView>
#include <QStringList>

#include <functional>
#include <memory>

namespace lexitka::testing {

// A temporary program folder with fakes wired in; builds the application on demand.
struct Fixture : TestFolder {
    Services services() { return Services{dir.path(), &messenger, &keyboard, &random, &clock, &speaker}; }
    std::unique_ptr<LexitkaApp> makeApp(const QString &argument = {})
    {
        return std::make_unique<LexitkaApp>(services(), argument);
    }
};

// The rows of a list as the user sees and ticks them, whatever its model.
int rowCount(const QAbstractItemView *view);
QStringList itemTexts(const QAbstractItemView *view);
void setTicked(QAbstractItemView *view, int row, bool ticked);
// Ticks exactly these rows.
void tick(QAbstractItemView *view, std::initializer_list<int> rows);

} // namespace lexitka::testing
