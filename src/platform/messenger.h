#pragma once

#include <QString>

class QWidget;

namespace lexitka {

// Message boxes, handed in so that tests can answer them.
class Messenger {
public:
    virtual ~Messenger() = default;
    // Plain box with the application's title and OK.
    virtual void information(QWidget *parent, const QString &text) = 0;
    // A failed file operation.
    virtual void error(QWidget *parent, const QString &text) = 0;
    // Yes/No with a warning icon; true for Yes.
    virtual bool question(QWidget *parent, const QString &text) = 0;
    // The same under a caption of its own ("Dotaz", "Smazat lekci").
    virtual bool ask(QWidget *parent, const QString &caption, const QString &text)
    {
        (void)caption;
        return question(parent, text);
    }
};

class QtMessenger final : public Messenger {
public:
    void information(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text) override;
    bool question(QWidget *parent, const QString &text) override;
    bool ask(QWidget *parent, const QString &caption, const QString &text) override;
};

} // namespace lexitka
