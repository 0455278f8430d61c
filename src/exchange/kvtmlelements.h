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
// The plural of a <declension>: its first <plural>'s first <nominative>,
// directly in it or under a gender.
std::optional<QString> nominativePlural(QXmlStreamReader &xml);

// A <conjugation>: its tense's name and the third person singular (other
// persons when it has none).
struct Conjugation {
    QString tense;
    QString form;
};
Conjugation conjugation(QXmlStreamReader &xml);
// A German verb's forms as the dictionary holds them, "sieht,sah,h gesehen":
// present, preterite and perfect placed by the tenses' names, the perfect's
// auxiliary as one letter.
QString verbForms(const QList<Conjugation> &conjugations);

struct Identifier {
    QString id;
    QString name;
    QString locale;
    QStringList definite; // male, female, neutral; then the plural ones
};
Identifier readIdentifier(QXmlStreamReader &xml);

} // namespace lexitka::kvtmlxml
