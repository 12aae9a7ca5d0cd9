#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the code page of every file the program reads and writes.
//
// The stored bytes stay bytes in the core; this is the one place where they become text for
// the windows and where typed text becomes bytes again. The five bytes that Windows-1252
// leaves undefined (81, 8D, 8F, 90, 9D) map to the C1 controls of the same value, as Windows
// itself does, so every byte survives a round trip.
namespace tv::cp1252 {

QString decode(const QByteArray& bytes);
inline QString decode(const char* bytes)
{
    return decode(QByteArray(bytes));
}

// Encodes text; returns false in *ok (when given) if some character has no Windows-1252
// byte, in which case that character is written as "?".
QByteArray encode(const QString& text, bool* ok = nullptr);

// The index of the first character that Windows-1252 cannot hold, or -1.
qsizetype firstUnencodable(const QString& text);

// Upper case letter by letter ("é" becomes "É"); a letter whose capital has no Windows-1252
// byte ("µ") stays as it is, so upper-casing never makes text unstorable.
QString upperCase(const QString& text);

// True when the text can be stored as typed: every character exists in Windows-1252 and none
// is a control character (a tab or a line break inside a fixed-column field would break
// every reader of the file).
bool isStorableFieldText(const QString& text);

// Windows-1252 bytes as plain ASCII, for formats that take nothing else (ADIF): an accented
// letter loses its accent ("é" gives "e", "À" "A", "ç" "c", "Š" "S", "Ÿ" "Y"), the ligatures
// and letters without a plain form are spelled out ("œ" "oe", "Æ" "AE", "ß" "ss", "Ø" "O",
// "Þ" "TH", "ƒ" "f"), and every other byte above 127 (symbols, quotes, "€", "°", the
// undefined bytes) becomes "?", so that the loss shows. ASCII bytes are kept as they are.
QByteArray toAscii(const QByteArray& bytes);

// True when every byte is below 128: the text is the same in ASCII, Windows-1252 and UTF-8.
bool isAscii(const QByteArray& bytes);

} // namespace tv::cp1252
