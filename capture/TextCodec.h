#pragma once

#include <QByteArray>
#include <QString>

// Code pages by their Windows numbers: the two in which the program reads and writes text files.
enum class CodePage { ShiftJis = 932, Utf8 = 65001 };

// The system's code page: 932 on a Japanese Windows; UTF-8 elsewhere, which is what Qt takes as
// the system's encoding on Linux and which holds every character on a Windows of another language.
CodePage systemCodePage();

// The text in the code page. A text the code page cannot hold whole is given as UTF-8 with a
// byte-order mark instead, so that no character is ever lost.
QByteArray encodeText(const QString &text, CodePage codePage);

// The text of bytes in the code page. A UTF-8 byte-order mark is honoured; with UTF-8 as the code
// page, bytes that are not valid UTF-8 are read as code page 932, as written on a Japanese system.
QString decodeText(const QByteArray &bytes, CodePage codePage);

// How bytes are read by decodeText: the code page their text came from, and whether every byte was
// understood (one that was not became U+FFFD, and writing the text back loses it).
struct ReadCodePage {
    CodePage codePage;
    bool whole;
};
ReadCodePage codePageRead(const QByteArray &bytes, CodePage codePage);

// The contents of a text file the program writes: the text followed by CR LF.
QByteArray textFileBytes(const QString &text, CodePage codePage);
