#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// Code page 932 as the system converts it: the program's own codec builds on these, so that a
// file reads and saves the same bytes on every system.

// One character at a time, for many characters in a row.
class CodePage932Characters
{
public:
    CodePage932Characters();
    ~CodePage932Characters();
    CodePage932Characters(const CodePage932Characters &) = delete;
    CodePage932Characters &operator=(const CodePage932Characters &) = delete;

    // The one UTF-16 unit of one character's bytes (a single byte, or a lead byte and its trail);
    // nothing where the code page defines none.
    std::optional<char16_t> unitOf(QByteArrayView character);

private:
    void *m_converter = nullptr;
};

// The text in code page 932, as the system converts it; nothing when the system finds a character
// that has no place there.
std::optional<QByteArray> encodeCodePage932(const QString &text);

// Whether the system's own code page for text files is 932 (a Japanese Windows); elsewhere it is
// UTF-8.
bool systemCodePageIs932();
