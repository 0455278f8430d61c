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
    // Yes/No with a warning icon and No as the default; true for Yes.
    virtual bool question(QWidget *parent, const QString &text) = 0;
    // The same under a caption of its own ("Dotaz", "Smazat lekci"), with
    // the answer that Enter gives.
    enum class Default { Yes, No };
    virtual bool ask(QWidget *parent, const QString &caption, const QString &text, Default byDefault) = 0;
    // Ano (the default), Ne and Storno (Esc), with a warning icon.
    enum class Answer { Yes, No, Cancel };
    virtual Answer askWithCancel(QWidget *parent, const QString &caption, const QString &text)
    {
        return ask(parent, caption, text, Default::Yes) ? Answer::Yes : Answer::No;
    }
};

class QtMessenger final : public Messenger {
public:
    void information(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text) override;
    bool question(QWidget *parent, const QString &text) override;
    bool ask(QWidget *parent, const QString &caption, const QString &text, Default byDefault) override;
    Answer askWithCancel(QWidget *parent, const QString &caption, const QString &text) override;
};

} // namespace lexitka
