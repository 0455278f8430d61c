#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace lexitka {

// A file name is a string of bytes on Linux, UTF-8 only by custom: a name
// unpacked from an archive may hold windows-1250 bytes. Qt reads every
// byte that is no UTF-8 as U+FFFD and can then neither open nor name the
// file again, so paths go to and from bytes here instead.
//
// Valid UTF-8 reads as Qt reads it; each byte of an invalid sequence reads
// as the lone surrogate U+DC80 + its value ("surrogate escape"), so every
// name comes back byte for byte. Such a path must reach the file system
// through nativePath (nativefile.h), never through QFile or QFileInfo.
QString pathFromNative(QByteArrayView bytes);
QByteArray nativePath(const QString &path);

// The path as the user reads it: the escaped bytes as windows-1250 letters,
// the encoding such names come in here.
QString readablePath(const QString &path);

// The path made absolute against the current folder and cleaned, without
// losing escaped bytes (QFileInfo's absolute paths go through Qt's own
// encoding).
QString absolutePath(const QString &path);
QString currentFolder();

} // namespace lexitka
