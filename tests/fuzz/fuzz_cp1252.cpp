// The Windows-1252 conversion: stored bytes to text and back, typed text to bytes.
// The input is taken both as stored bytes and as UTF-8 text.
#include "logstore/cp1252.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);

    // Every byte maps to a character and back.
    const QString decoded = cp1252::decode(bytes);
    FUZZ_CHECK(decoded.size() == bytes.size());
    bool ok = false;
    FUZZ_CHECK(cp1252::encode(decoded, &ok) == bytes && ok);
    FUZZ_CHECK(cp1252::firstUnencodable(decoded) == -1);

    const QByteArray ascii = cp1252::toAscii(bytes);
    for (const char c : ascii)
        FUZZ_CHECK(static_cast<unsigned char>(c) < 0x80);
    FUZZ_CHECK(ascii.size() >= bytes.size());

    // Typed text: what encodes reads back as typed; what does not is named and written as "?".
    const QString typed = QString::fromUtf8(bytes);
    const QByteArray encoded = cp1252::encode(typed, &ok);
    const qsizetype bad = cp1252::firstUnencodable(typed);
    FUZZ_CHECK(ok == (bad == -1));
    FUZZ_CHECK(encoded.size() == typed.size());
    if (ok)
        FUZZ_CHECK(cp1252::decode(encoded) == typed);
    else
        FUZZ_CHECK(encoded[bad] == '?');

    const QString upper = cp1252::upperCase(typed);
    if (ok)
        FUZZ_CHECK(cp1252::firstUnencodable(upper) == -1);
    if (cp1252::isStorableFieldText(typed))
        FUZZ_CHECK(ok && cp1252::isStorableFieldText(upper));
    return 0;
}
