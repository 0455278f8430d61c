#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace lexitka {

// Key-by-key access to an INI-form file with private-profile semantics:
// nothing is cached, every read parses the file afresh, and every write
// changes one key (or appends it) and keeps every other byte as it was.
class ProfileFile {
public:
    explicit ProfileFile(QString path) : m_path(std::move(path)) { }

    const QString &path() const { return m_path; }

    QByteArray readString(QByteArrayView section, QByteArrayView key, const QByteArray &defaultValue) const;
    // Decimal, or hexadecimal after "0x"/"0X"; anything else gives the default.
    int readInt(QByteArrayView section, QByteArrayView key, int defaultValue) const;
    bool readBool(QByteArrayView section, QByteArrayView key, bool defaultValue) const;

    // False when the file could not be written; the old file is then untouched.
    bool writeString(QByteArrayView section, QByteArrayView key, QByteArrayView value);
    bool writeBool(QByteArrayView section, QByteArrayView key, bool value);

    // The edit itself, on bytes, for callers and tests that hold them.
    static QByteArray withValue(const QByteArray &file, QByteArrayView section, QByteArrayView key,
                                QByteArrayView value);
    // Several keys of one section in one pass; the same as setting them one
    // after the other with withValue.
    struct KeyValue {
        QByteArrayView key;
        QByteArrayView value;
    };
    static QByteArray withValues(const QByteArray &file, QByteArrayView section, const QList<KeyValue> &values);

private:
    QString m_path;
};

std::optional<int> parseProfileInt(QByteArrayView text);

// Whether a value or a section name reads back as written: no line break,
// no blank at either end (readers trim them), and for a section no "]".
bool canStoreValue(QByteArrayView value);
bool canNameSection(QByteArrayView name);

} // namespace lexitka
