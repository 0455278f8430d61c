#pragma once

#include "platform/messenger.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace lexitka::testing {

// Records every message box instead of showing it. Kept apart from fakes.h
// so that code built without widgets can use it too.
class RecordingMessenger final : public Messenger {
public:
    struct Message {
        QString kind; // "information", "error", "question"
        QString text;
        QString caption = QStringLiteral("Lexitka");
        Default byDefault = Default::No;
    };
    QList<Message> messages;
    bool answer = true; // what question() says
    // What askWithCancel() says; when unset, `answer` as Yes or No.
    std::optional<Answer> threeWay;
    // Called for every message, e.g. to assert while a modal window is open.
    std::function<void(const Message &)> onMessage;

    void information(QWidget *, const QString &text) override { add({QStringLiteral("information"), text}); }
    void error(QWidget *, const QString &text) override { add({QStringLiteral("error"), text}); }
    bool question(QWidget *, const QString &text) override
    {
        add({QStringLiteral("question"), text});
        return answer;
    }
    bool ask(QWidget *, const QString &caption, const QString &text, Default byDefault) override
    {
        add({QStringLiteral("question"), text, caption, byDefault});
        return answer;
    }
    Answer askWithCancel(QWidget *, const QString &caption, const QString &text) override
    {
        add({QStringLiteral("question"), text, caption, Default::Yes});
        return threeWay ? *threeWay : (answer ? Answer::Yes : Answer::No);
    }
    QStringList texts() const
    {
        QStringList out;
        for (const Message &m : messages)
            out.append(m.text);
        return out;
    }

private:
    void add(const Message &m)
    {
        messages.append(m);
        if (onMessage)
            onMessage(m);
    }
};

} // namespace lexitka::testing
