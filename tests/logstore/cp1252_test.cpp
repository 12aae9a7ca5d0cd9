#include "logstore/cp1252.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tv {
namespace {

TEST(Cp1252Test, EveryByteSurvivesARoundTripAndTheHighPageIsWindows1252)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = cp1252::decode(all);
    ASSERT_EQ(text.size(), 256);
    bool ok = false;
    EXPECT_EQ(cp1252::encode(text, &ok), all);
    EXPECT_TRUE(ok);
    // Euro sign, oe ligature, right quote: not Latin-1.
    EXPECT_EQ(text.mid(0x80, 1) + text.mid(0x9C, 1) + text.mid(0x92, 1) + text.mid(0xE9, 1), QString::fromUtf8("€œ’é"));
}

TEST(Cp1252Test, TextOutsideThePageIsDetectedNotSilentlyChanged)
{
    const QString text = QString::fromUtf8("Moulin ł 風");
    bool ok = true;
    EXPECT_EQ(cp1252::encode(text, &ok), QByteArray("Moulin ? ?"));
    EXPECT_FALSE(ok);
    EXPECT_EQ(cp1252::firstUnencodable(text), 7);
    EXPECT_TRUE(cp1252::isStorableFieldText(QString::fromUtf8("Moulin de l'Œuf à Saint-Père")));
    for (const char* bad : {"Moulin ł", "tab\there", "line\r\nbreak"})
        EXPECT_FALSE(cp1252::isStorableFieldText(QString::fromUtf8(bad))) << bad;
}

TEST(Cp1252Test, AsciiDropsAccentsAndMarksWhatItCannotSpell)
{
    const struct {
        const char* utf8;
        const char* ascii;
    } cases[] = {
        {"Châteauneuf éèë àä ïô ù ÿ ç ÉÈ ÀÅ Ÿ Ñ", "Chateauneuf eee aa io u y c EE AA Y N"},
        {"Œuvre œil Æ æ ß Ø ø Þ þ Ð ð Š ž ƒ", "OEuvre oeil AE ae ss O o TH th D d S z f"},
        {"5 € 10° «x» – µ ª ×", "5 ? 10? ?x? ? ? ? ?"},
        {"<tab>\t</tab> ~!", "<tab>\t</tab> ~!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(cp1252::toAscii(cp1252::encode(QString::fromUtf8(c.utf8))), QByteArray(c.ascii));
    }
    for (int b = 0x80; b < 0x100; ++b) {
        const QByteArray ascii = cp1252::toAscii(QByteArray(1, char(b)));
        EXPECT_TRUE(!ascii.isEmpty() &&
                    std::all_of(ascii.begin(), ascii.end(), [](char c) { return c > 0 && c < 0x7F; }))
            << b << ": every byte above 127 becomes printable ASCII";
    }
}

} // namespace
} // namespace tv
