#pragma once
// Code pages of the files the program reads and writes.
#include <QByteArray>
#include <QString>

namespace tarnis {

// Bytes below 0x80 only: the same text in every code page the program knows.
bool isAscii(const QByteArray &bytes);
// Well-formed UTF-8 (no overlong form, no surrogate, nothing beyond U+10FFFF). A line end
// is never part of a multi-byte sequence, so each line of a text can be checked alone.
bool isUtf8(const QByteArray &bytes);

// An imported result list is CP850 (the OEM code page).
QString decodeCp850(const QByteArray &bytes);
QByteArray encodeCp850(const QString &text);

enum class Unmappable { QuestionMark, HtmlEntity };
// HTML pages, press lists, the mail-merge file and the error report are CP1252.
// A character CP1252 lacks becomes "?" or "&#N;".
QByteArray encodeCp1252(const QString &text, Unmappable mode = Unmappable::QuestionMark);
QString decodeCp1252(const QByteArray &bytes);

}  // namespace tarnis
