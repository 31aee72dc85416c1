#include "data/Windows1252.h"

namespace {

// Bytes 0x80 to 0x9F; 0 where Windows-1252 defines no character.
constexpr char16_t High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,      //
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178, //
};

// The byte for a code point, or -1.
int byteFor(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    for (int i = 0; i < 32; ++i) {
        if (High[i] != 0 && High[i] == c)
            return 0x80 + i;
    }
    return -1;
}

// The code point at I, which moves past it; a lone surrogate reads as U+FFFD.
char32_t next(QStringView text, qsizetype& i)
{
    const QChar c = text[i++];
    if (c.isHighSurrogate() && i < text.size() && text[i].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[i++]);
    return c.isSurrogate() ? char32_t(0xFFFD) : char32_t(c.unicode());
}

} // namespace

namespace Windows1252 {

char32_t firstUnencodable(QStringView text)
{
    for (qsizetype i = 0; i < text.size();) {
        const char32_t c = next(text, i);
        if (byteFor(c) < 0)
            return c;
    }
    return 0;
}

QByteArray encode(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const int b = byteFor(next(text, i));
        out.append(char(b < 0 ? '?' : b));
    }
    return out;
}

QString decode(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const char16_t mapped = b >= 0x80 && b < 0xA0 ? High[b - 0x80] : char16_t(0);
        out[i] = QChar(mapped != 0 ? mapped : char16_t(b));
    }
    return out;
}

} // namespace Windows1252
