// Callsigns resolved to their DXCC entity with the shipped prefix template alone and with the
// country file the hamradio-files package installs (those cases skip when it is not installed).

#include "logstore/country_file.h"
#include "logstore/entity_resolver.h"
#include "logstore/log_file.h"
#include "logstore/multiplier_rebuild.h"
#include "logstore/prefix_file.h"
#include "platform/installed_files.h"
#include "platform/qt_file_system.h"
#include "tests/support/test_support.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

#include <iostream>

namespace tv {
namespace {

QList<QByteArray> templateLines()
{
    QFile f(QDir(QStringLiteral(TOURNEVENT_SHIPPED_DATA_DIR)).filePath(QStringLiteral("FXXXX_Prefixe.txt")));
    return f.open(QIODevice::ReadOnly) ? LogFile::splitLines(f.readAll()) : QList<QByteArray>();
}

std::shared_ptr<const CountryFile> installed()
{
    static const std::shared_ptr<const CountryFile> countries = [] {
        QtFileSystem files;
        return CountryFile::load(files, CountryFile::installedPath());
    }();
    return countries;
}

// What a resolution comes to: the entity code, "-" for no entity, "?" for none found.
QByteArray outcome(const EntityResolver::Result& r)
{
    switch (r.kind) {
    case EntityResolver::Kind::Entity:
        return r.code;
    case EntityResolver::Kind::NoEntity:
        return "-";
    case EntityResolver::Kind::NoLine:
        return "no line for " + r.code;
    case EntityResolver::Kind::Unknown:
        break;
    }
    return "?";
}

struct Case {
    const char* callsign;
    const char* code;
};
// Alike from both sources.
const Case kCases[] = {
    {"KP3AA", "KP4"},      {"NP2X", "KP2"},    {"RA9FAA", "UA"},  {"UA9FA", "UA"},    {"RA2FA", "UA2"},
    {"9M8AA", "9M6"},      {"9W6AA", "9M6"},   {"CQ8AA", "CU"},   {"CR2X", "CU"},     {"IM0AA", "IS0"},
    {"SV9AA", "SV9"},      {"SX9AA", "SV9"},   {"SY9AA", "SV9"},  {"SX5AA", "SV5"},   {"SZ5AA", "SV5"},
    {"AH6AA", "KH6"},      {"AH2AA", "KH2"},   {"ON4XXX/F", "F"}, {"F/ON4XXX", "F"},  {"EA8/DL1ABC", "EA8"},
    {"DL1ABC/EA8", "EA8"}, {"DL1ABC/P", "DL"}, {"W1ABC/4", "K"},  {"G4ABC/QRP", "G"}, {"TM5JNM", "F"},
    {"TW2A", "F"},         {"TK5XX", "TK"},    {"FT5XA", "FT0X"}, {"UA0AA", "UA9"},   {"dl1abc/a", "DL"},
    {"DL1ABC/MM", "-"},    {"F5ABC/AM", "-"},  {"QQ1QQ", "?"},
};
// The country file's exact calls, which no prefix can tell.
const Case kExactCalls[] = {{"KC4/W3ASA", "3Y"}, {"VP8DFK", "3Y"}, {"3D2CR", "3D2/C"}, {"EA4URE/8", "EA8"}};

TEST(CountryResolution, KnownCallsignsFromEitherSource)
{
    const QList<QByteArray> lines = templateLines();
    ASSERT_FALSE(lines.isEmpty());
    QList<const CountryFile*> sources = {nullptr};
    if (installed())
        sources << installed().get();
    for (const CountryFile* countries : sources) {
        SCOPED_TRACE(countries ? "country file" : "template alone");
        const EntityResolver resolver(countries, lines);
        for (const Case& c : kCases)
            EXPECT_EQ(outcome(resolver.resolve(c.callsign)), QByteArray(c.code)) << c.callsign;
        if (countries) {
            for (const Case& c : kExactCalls)
                EXPECT_EQ(outcome(resolver.resolve(c.callsign)), QByteArray(c.code)) << c.callsign;
        }
    }
    if (!installed())
        GTEST_SKIP() << CountryFile::installedPath().toStdString()
                     << " is not installed: the template alone was checked";
}

TEST(CountryResolution, TheRebuildMarksTheRightEntities)
{
    const QList<QByteArray> lines = templateLines();
    QList<QByteArray> log;
    QSet<QByteArray> expected;
    for (const Case& c : kCases) {
        log << test::qso("03/05/26", c.callsign, "09:41", "14 Mhz", "SSB");
        if (QByteArray(c.code) != "-" && QByteArray(c.code) != "?")
            expected << c.code;
    }
    const QByteArray departments = "01 00000000000000000 Ain\r\n";
    const QByteArray prefixes = LogFile::joinLines(lines);
    const MultiplierRebuild::Computed built = MultiplierRebuild::compute(log, prefixes, departments, installed().get());
    QSet<QByteArray> marked;
    for (const QByteArray& line : LogFile::splitLines(built.files.prefixSsb)) {
        if (line.at(PrefixFile::kFirstMarkColumn + 4 - 1) == '1') // 14 Mhz
            marked << PrefixFile::entityOf(line);
    }
    EXPECT_EQ(marked, expected);
    EXPECT_EQ(built.unmatchedCallsigns, QList<QByteArray>{"QQ1QQ"});
}

TEST(CountryResolution, BothSourcesAgreeOverTheMasterCallsignFile)
{
    QFile master(installed::masterCallsignFile());
    if (!installed() || !master.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "the hamradio-files package is not installed";
    // The template was made from these versions of the two files (tests/data/check_prefix_generator.cmake).
    QFile cty(CountryFile::installedPath());
    const auto sha256 = [](QFile& f) {
        return f.isOpen() || f.open(QIODevice::ReadOnly)
                   ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex()
                   : QByteArray();
    };
    if (sha256(cty) != "3aa4beefc62505a53ec539f33749d5eeb0ab09707c2200793f395bf95374b9e1" ||
        sha256(master) != "dee99f156fb0a74c6cc626b0666e558a1b95a044f0b8e4df8b7f3a022348d916")
        GTEST_SKIP() << "the hamradio-files package holds other versions than the template was made from";
    master.seek(0);
    const QList<QByteArray> lines = templateLines();
    const EntityResolver withCountries(installed().get(), lines);
    const EntityResolver alone(nullptr, lines);
    // Master callsigns the template's prefixes cannot tell, though the country file lists no
    // exact call for them: their prefixes did not fit in the template (tools/prefix_choices.txt).
    const QSet<QByteArray> documented = {"UF8C", "UG8F", "UI8F", "UI8F/P"};

    int calls = 0, same = 0, exact = 0, listed = 0;
    QList<QByteArray> others;
    for (QByteArray call : master.readAll().split('\n')) {
        call = call.trimmed();
        if (call.isEmpty() || call.startsWith('#'))
            continue;
        ++calls;
        const QByteArray country = outcome(withCountries.resolve(call));
        ASSERT_FALSE(country.startsWith("no line")) << call.constData() << ": " << country.constData();
        if (country == outcome(alone.resolve(call)))
            ++same;
        else if (installed()->exactCall(call) >= 0)
            ++exact;
        else if (documented.contains(call))
            ++listed;
        else
            others << call + " " + country + " / " + outcome(alone.resolve(call));
    }
    EXPECT_GT(calls, 80000);
    EXPECT_EQ(others, QList<QByteArray>());
    EXPECT_EQ(listed, documented.size()) << "a documented callsign now resolves alike: take it off the list";
    std::cout << calls << " master callsigns: " << same << " alike, " << exact << " exact calls of the country file, "
              << listed << " documented" << std::endl;
}

} // namespace
} // namespace tv
