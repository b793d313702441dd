#pragma once

#include <QByteArray>
#include <QString>
#include <QStringConverter>
#include <QStringList>

// How a clipboard offered in several types is read as text. X11 and Wayland name the types alike.
namespace OfferedText
{

// Password managers mark what they copy with this type, holding "secret", so that clipboard tools
// leave it alone.
inline const QString secretHintType = QStringLiteral("x-kde-passwordManagerHint");

// The type to read the text in, UTF-8 first; empty when no offered type is text.
QString preferredType(const QStringList &offered);

QStringConverter::Encoding encodingOf(const QString &type);

bool hintMarksSecret(const QByteArray &hint);

} // namespace OfferedText
