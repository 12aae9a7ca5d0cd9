#include "logstore/cp1252.h"

#include <algorithm>
#include <array>

namespace tv::cp1252 {
namespace {

// Unicode code points of bytes 0x80 to 0x9F; the rest of the page equals Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t codePoint(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHigh[byte - 0x80];
    return byte;
}

// The byte for a character, or -1 when the code page has none.
int byteFor(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (int i = 0; i < int(kHigh.size()); ++i) {
        if (kHigh[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

// The ASCII spelling of a byte above 127.
QByteArray asciiOf(unsigned char byte)
{
    static const struct {
        char16_t ch;
        const char* ascii;
    } kSpelled[] = {
        {0x0152, "OE"}, {0x0153, "oe"}, {0x00C6, "AE"}, {0x00E6, "ae"}, {0x00DF, "ss"}, {0x00D8, "O"},
        {0x00F8, "o"},  {0x00D0, "D"},  {0x00F0, "d"},  {0x00DE, "TH"}, {0x00FE, "th"}, {0x0192, "f"},
    };
    const QChar ch(codePoint(byte));
    for (const auto& spelled : kSpelled) {
        if (spelled.ch == ch.unicode())
            return spelled.ascii;
    }
    // A letter that decomposes into a plain letter and its accents keeps the letter.
    if (ch.isLetter() && ch.decompositionTag() == QChar::Canonical) {
        const QChar base = ch.decomposition().at(0);
        if (base.unicode() < 0x80 && base.isLetter())
            return QByteArray(1, char(base.unicode()));
    }
    return "?";
}

} // namespace

QString decode(const QByteArray& bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        dst[i] = QChar(codePoint(static_cast<unsigned char>(bytes[i])));
    return out;
}

QByteArray encode(const QString& text, bool* ok)
{
    QByteArray out;
    out.reserve(text.size());
    bool all = true;
    for (const QChar ch : text) {
        const int byte = byteFor(ch.unicode());
        if (byte < 0) {
            all = false;
            out.append('?');
        } else {
            out.append(static_cast<char>(byte));
        }
    }
    if (ok)
        *ok = all;
    return out;
}

qsizetype firstUnencodable(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (byteFor(text[i].unicode()) < 0)
            return i;
    }
    return -1;
}

QString upperCase(const QString& text)
{
    QString out = text;
    for (QChar& ch : out) {
        const QChar up = ch.toUpper();
        if (up != ch && byteFor(up.unicode()) >= 0)
            ch = up;
    }
    return out;
}

bool isAscii(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

QByteArray toAscii(const QByteArray& bytes)
{
    static const std::array<QByteArray, 128> table = [] {
        std::array<QByteArray, 128> out;
        for (int i = 0; i < 128; ++i)
            out[i] = asciiOf(static_cast<unsigned char>(0x80 + i));
        return out;
    }();
    QByteArray out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            out.append(c);
        else
            out.append(table[byte - 0x80]);
    }
    return out;
}

bool isStorableFieldText(const QString& text)
{
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x20 || u == 0x7F || (u >= 0x80 && u <= 0x9F) || byteFor(u) < 0)
            return false;
    }
    return true;
}

} // namespace tv::cp1252
