#pragma once

#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <optional>

namespace lexitka::kvtmlxml {

// Pieces of a KVTML file read where the reader stands, each ending on the
// end tag of the element it reads.

// The text directly in the current element (indentation and the text of
// its children left out).
QString ownText(QXmlStreamReader &xml);
// An element's text, given directly or in its first <text> child, trimmed.
QString value(QXmlStreamReader &xml);
// Within the current element, the first child of that name; false (the
// reader at the element's end) when there is none.
bool toChild(QXmlStreamReader &xml, QStringView name);
// The plural of a <declension>: its first <plural>'s first <nominative>.
std::optional<QString> nominativePlural(QXmlStreamReader &xml);
// The third person singular of a <conjugation> (other persons when it has none).
QString conjugatedForm(QXmlStreamReader &xml);

struct Identifier {
    QString id;
    QString name;
    QString locale;
    QStringList definite; // male, female, neutral; then the plural ones
};
Identifier readIdentifier(QXmlStreamReader &xml);

} // namespace lexitka::kvtmlxml
