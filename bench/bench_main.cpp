// Performance figures of the program on a full log. Prints figures; never fails a build.
//
//   bench            every benchmark
//   bench NAME ...   the named ones (see the list printed by "bench --list")

#include "bench/bench_support.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList wanted = QApplication::arguments().mid(1);
    const auto& all = tv::bench::registry();
    if (wanted.contains(QStringLiteral("--list"))) {
        for (const auto& b : all)
            std::printf("%s\n", qPrintable(b.name));
        return 0;
    }
    for (const auto& b : all) {
        if (wanted.isEmpty() || wanted.contains(b.name))
            b.run();
    }
    return 0;
}
