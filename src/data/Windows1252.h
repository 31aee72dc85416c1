#pragma once

#include <QByteArray>
#include <QString>

// Texts are kept single-byte, in the character set of the earlier release (Windows-1252):
// ASCII, the Latin-1 letters and signs from U+00A0, and 27 further signs such as the euro,
// typographic quotes and dashes, OE and Z with caron.
namespace Windows1252 {

// The first code point of TEXT that Windows-1252 cannot hold, or 0 when it holds them all.
// Characters from U+0080 to U+009F are refused: the database keeps other characters there.
char32_t firstUnencodable(QStringView text);

// TEXT as Windows-1252 bytes; a character the set cannot hold becomes '?'.
QByteArray encode(QStringView text);
// Windows-1252 bytes as text; the five bytes the set leaves undefined keep their value.
QString decode(QByteArrayView bytes);

} // namespace Windows1252
