// Renders the Markdown user guide as one HTML page at build time, so that an
// installed program can show it in any browser without network:
//   renderguide guide.md guide.html
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: renderguide guide.md guide.html\n");
        return 2;
    }
    // Fonts need a GUI application; no display is needed for that.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "renderguide: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString markdown = QString::fromUtf8(in.readAll());
    QTextDocument doc;
    doc.setMarkdown(markdown);
    const QRegularExpressionMatch title =
        QRegularExpression(QStringLiteral("^# (.+)$"), QRegularExpression::MultilineOption).match(markdown);
    if (title.hasMatch())
        doc.setMetaInformation(QTextDocument::DocumentTitle, title.captured(1));
    QString html = doc.toHtml();
    // The reader's own font and size, not those of the machine that built it.
    html.replace(QRegularExpression(QStringLiteral("<body style=\"[^\"]*\">")), QStringLiteral("<body>"));
    html.replace(QStringLiteral("<html>"), QStringLiteral("<html lang=\"cs\">"));
    // Every chapter an anchor, and a list of them under the title.
    QString contents;
    int chapter = 0;
    static const QRegularExpression heading(QStringLiteral("<h2([^>]*)>(.*?)</h2>"));
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QString anchored;
    qsizetype at = 0;
    for (QRegularExpressionMatchIterator it = heading.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString name = QStringLiteral("kapitola-%1").arg(++chapter);
        anchored += html.mid(at, m.capturedStart() - at);
        anchored += QStringLiteral("<h2%1><a name=\"%2\"></a>%3</h2>").arg(m.captured(1), name, m.captured(2));
        at = m.capturedEnd();
        contents += QStringLiteral("<li><a href=\"#%1\">%2</a></li>\n").arg(name, QString(m.captured(2)).remove(tag));
    }
    anchored += html.mid(at);
    html = anchored;
    const qsizetype titleEnd = html.indexOf(QStringLiteral("</h1>"));
    if (titleEnd >= 0 && !contents.isEmpty())
        html.insert(titleEnd + 5,
                    QStringLiteral("\n<p><b>Obsah</b></p>\n<ul>\n") + contents + QStringLiteral("</ul>\n"));
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(html.toUtf8()) < 0 || !out.flush()) {
        std::fprintf(stderr, "renderguide: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
