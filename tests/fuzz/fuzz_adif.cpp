// The ADIF import: the file read, its records made log lines, the plan of what is added.
// Input: one byte choosing the station's locator, then the file.
#include "logstore/log_columns.h"
#include "logstore/qso_line.h"
#include "reports/adif_export.h"
#include "reports/adif_import.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    static const QString kLocators[] = {QStringLiteral("JN18DU"), QStringLiteral("------"), QString(),
                                        QStringLiteral("ZZ99ZZ")};
    const QString& locator = kLocators[data[0] % std::size(kLocators)];
    const QByteArray file = fuzz::bytesOf(data + 1, size - 1);

    const adifimport::Plan first = adifimport::plan(file, {}, locator);
    adifimport::summary(first);
    adifimport::details(first);
    if (!first.error.isEmpty()) {
        FUZZ_CHECK(first.entries.isEmpty());
        return 0;
    }
    const QList<QByteArray> added = first.linesToAdd();
    int recent = 0; // lines of 2000-2049, which the export writes back with their century
    for (const QByteArray& line : added) {
        FUZZ_CHECK(line.size() == logcol::kLineLength && qsoline::isWellFormed(line));
        const QsoRecord record = qsoline::parse(line);
        FUZZ_CHECK(qsoline::build(record) == line);
        if (record.date.mid(6, 2) < "50")
            ++recent;
    }
    FUZZ_CHECK(first.count(adifimport::Fate::Added) + first.count(adifimport::Fate::Duplicate) +
                   first.count(adifimport::Fate::Refused) ==
               first.entries.size());

    // Importing the same file into a log that holds its QSOs adds nothing.
    const adifimport::Plan again = adifimport::plan(file, added, locator);
    FUZZ_CHECK(again.count(adifimport::Fate::Added) == 0);
    FUZZ_CHECK(again.count(adifimport::Fate::Refused) == first.count(adifimport::Fate::Refused));

    // The program's own export of those QSOs reads back as the same QSOs.
    const adifimport::Plan exported = adifimport::plan(adif::file(QStringLiteral("F0ZZZ"), added), added, locator);
    FUZZ_CHECK(exported.error.isEmpty());
    FUZZ_CHECK(exported.count(adifimport::Fate::Added) == 0);
    FUZZ_CHECK(exported.count(adifimport::Fate::Duplicate) >= recent);
    return 0;
}
