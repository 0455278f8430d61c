#pragma once

// Message boxes for the benchmarks: a box would wait for a click that never
// comes, so each message goes to stderr and every question is answered No.

#include "platform/messenger.h"

#include <QString>

#include <iostream>

namespace lexitka::bench {

class PrintingMessenger final : public Messenger {
public:
    void information(QWidget *, const QString &text) override { print(text); }
    void error(QWidget *, const QString &text) override { print(text); }
    bool question(QWidget *, const QString &text) override
    {
        print(text);
        return false;
    }
    bool ask(QWidget *, const QString &, const QString &text, Default) override
    {
        print(text);
        return false;
    }

private:
    static void print(const QString &text) { std::cerr << "message: " << text.toStdString() << "\n"; }
};

} // namespace lexitka::bench
