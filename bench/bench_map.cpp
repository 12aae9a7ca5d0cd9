// The activation map on a full log of 32767 QSOs: the colouring from the lines in memory, the
// SVG written, and the window's redraw after `Afficher` (colouring, fills drawn again over the
// kept lines, picture painted), as after each QSO recorded while the map is open.

#include "bench/bench_support.h"

#include "logstore/log_file.h"
#include "platform/qt_file_system.h"
#include "station/logbook.h"
#include "station/station_session.h"
#include "stats/activation_map.h"
#include "stats/activation_map_window.h"

#include <QComboBox>

namespace {

void activationMap()
{
    using namespace tv::activationmap;
    const QList<QByteArray> log = tv::bench::generatedLog(32767);
    const FranceMap& map = FranceMap::shipped();
    Colouring colouring;
    const double colourMs = tv::bench::bestMs(5, [&] { colouring = colour(log, "14 Mhz", "SSB"); });
    tv::bench::report(QStringLiteral("map colouring, 32767 QSOs"), colourMs, QStringLiteral("< 20 ms"));
    const double svgMs = tv::bench::bestMs(5, [&] { svg(map, colouring, {}); });
    tv::bench::report(QStringLiteral("  the whole map as SVG"), svgMs, QStringLiteral("< 20 ms with the above"));

    tv::bench::BenchStation station(log);
    const tv::Services services = station.services();
    tv::Logbook logbook(services);
    logbook.setStation(QStringLiteral("F0ZZZ"));
    logbook.load();
    tv::StationSession session(&station.settings);
    session.setStation(QStringLiteral("F0ZZZ"), QStringLiteral("JN18DU"));
    tv::ActivationMapWindow window(services, session, logbook);
    window.resize(640, 700);
    window.show();
    window.findChild<QComboBox*>(QStringLiteral("Bande_A"))->setCurrentText(QStringLiteral("14 Mhz"));
    QWidget* picture = window.findChild<QWidget*>(QStringLiteral("Picture1"));
    picture->grab(); // the lines, drawn once for this size
    const double redrawMs = tv::bench::bestMs(5, [&] {
        window.display();
        picture->grab(); // paints it as the screen would
    });
    tv::bench::report(QStringLiteral("map redraw in the window, 32767 QSOs"), redrawMs, QStringLiteral("< 20 ms"));
}

const tv::bench::Register r{"map", activationMap};

} // namespace
