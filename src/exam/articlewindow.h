#pragma once

#include "exam/testwindow.h"
#include "exam/typing.h"

class QComboBox;

namespace lexitka {

class TypingAid;

// The French and Spanish test window: one design, told apart by language.
// Both directions; Czech to foreign asks the article too, and the language's
// accents are typed on the English layout.
class ArticleTestWindow : public TestWindow {
    Q_OBJECT
public:
    struct Language {
        int code;
        const char *objectName;
        QString caption;
        TypingTable typing;
    };

    ArticleTestWindow(const Language &language, UTest &test, Keyboards &keyboards, Messenger &messenger,
                      QWidget *parent = nullptr);

    void Display() override;

public slots:
    void btnOKClick() override;

protected:
    void makeControlsOnce() override;
    void FormKeyUpInsert() override;
    void edtPrekladChange() override;

public:
    QLabel *Label2 = nullptr;
    QComboBox *cmbclen = nullptr;

private:
    TypingTable m_typing;
    TypingAid *m_typingAid = nullptr;
};

} // namespace lexitka
