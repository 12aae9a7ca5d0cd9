#include "stats/activation_map.h"

#include "logstore/fixed_text.h"
#include "logstore/log_columns.h"

#include <QFile>
#include <QXmlStreamReader>

#include <algorithm>

namespace tv::activationmap {
namespace {

const QByteArray kParisAndNeighbours[] = {"75", "92", "93", "94"};

bool isParisInset(const QByteArray& id)
{
    return std::find(std::begin(kParisAndNeighbours), std::end(kParisAndNeighbours), id) !=
           std::end(kParisAndNeighbours);
}

// Geometry of the drawing, in the map's own units.
constexpr double kFooter = 24;      // the band under the map for the title and the attribution
constexpr double kInsetOrigin = 6;  // the inset's frame, at the top left (open sea on this map)
constexpr double kInsetSize = 124;  // side of the frame
constexpr double kInsetPadding = 8; // between the frame and the enlarged departments
constexpr double kNumberSize = 8;   // font size of the numbers on the map
constexpr double kInsetNumberSize = 10;
constexpr double kOutline = 0.4; // stroke width of the outlines

QByteArray number(double value)
{
    return QByteArray::number(value, 'f', 2);
}

QByteArray xmlText(const QString& text)
{
    return text.toHtmlEscaped().toUtf8();
}

QByteArray colourText(palette::Rgb rgb)
{
    return '#' + QByteArray::number(rgb & 0xFFFFFF, 16).rightJustified(6, '0').toUpper();
}

// A number placed on a department: centred horizontally, its middle on the point.
QByteArray numberText(double x, double y, double size, const QByteArray& label)
{
    return "<text x=\"" + number(x) + "\" y=\"" + number(y + size * 0.35) + "\">" + label + "</text>\n";
}

// Reads the numbers of path data in order, one at a time.
class PathReader {
public:
    explicit PathReader(QByteArrayView path) : m_path(path) {}
    void skipSeparators()
    {
        while (m_at < m_path.size() && (m_path[m_at] == ' ' || m_path[m_at] == ',' || m_path[m_at] == '\n' ||
                                        m_path[m_at] == '\t' || m_path[m_at] == '\r'))
            ++m_at;
    }
    bool atEnd()
    {
        skipSeparators();
        return m_at >= m_path.size();
    }
    bool atNumber()
    {
        skipSeparators();
        if (m_at >= m_path.size())
            return false;
        const char c = m_path[m_at];
        return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
    }
    char command() { return m_path[m_at++]; }
    std::optional<double> value()
    {
        skipSeparators();
        qsizetype end = m_at;
        if (end < m_path.size() && (m_path[end] == '-' || m_path[end] == '+'))
            ++end;
        while (end < m_path.size() &&
               ((m_path[end] >= '0' && m_path[end] <= '9') || m_path[end] == '.' || m_path[end] == 'e' ||
                m_path[end] == 'E' ||
                ((m_path[end] == '-' || m_path[end] == '+') && (m_path[end - 1] == 'e' || m_path[end - 1] == 'E'))))
            ++end;
        bool ok = false;
        const double v = m_path.sliced(m_at, end - m_at).toDouble(&ok);
        m_at = end;
        return ok ? std::optional<double>(v) : std::nullopt;
    }

private:
    QByteArrayView m_path;
    qsizetype m_at = 0;
};

} // namespace

std::optional<int> departmentNumber(QByteArrayView code)
{
    if (code.size() != 2)
        return std::nullopt;
    const char a = code[0];
    const char b = code[1];
    if (a == '2' && (b == 'A' || b == 'a'))
        return kCorseDuSud;
    if (a == '2' && (b == 'B' || b == 'b'))
        return kHauteCorse;
    if (a < '0' || a > '9' || b < '0' || b > '9')
        return std::nullopt;
    const int n = (a - '0') * 10 + (b - '0');
    if (n == 0 || n == 20 || n > 95)
        return std::nullopt;
    return n;
}

QByteArray departmentId(int number)
{
    if (number == kCorseDuSud)
        return "2A";
    if (number == kHauteCorse)
        return "2B";
    if (number < 1 || number > 95 || number == 20)
        return {};
    return QByteArray::number(number).rightJustified(2, '0');
}

QByteArray departmentLabel(int number)
{
    return departmentId(number).toLower();
}

int Colouring::departmentsOfRank(int r) const
{
    return int(std::count(rank.begin(), rank.end(), quint8(r)));
}

int Colouring::colouredDepartments() const
{
    return int(std::count_if(rank.begin(), rank.end(), [](quint8 r) { return r > 0; }));
}

Colouring colour(const QList<QByteArray>& lines, QByteArrayView band, QByteArrayView mode)
{
    using namespace logcol;
    Colouring result;
    for (const QByteArray& line : lines) {
        if (fixedtext::fieldView(line, kActivity.first, kActivity.width) != "1" ||
            fixedtext::fieldView(line, kBand.first, kBand.width) != band ||
            fixedtext::fieldView(line, kMode.first, kMode.width) != mode)
            continue;
        ++result.matchingQsos;
        // The department's two bytes, untrimmed: " 5" or "5 " is no department.
        const std::optional<int> department = departmentNumber(fixedtext::mid(line, kDepartment.first, 2));
        const char count = fixedtext::at(line, kCount.first);
        if (!department || count < '1' || count > '4')
            continue;
        quint8& rank = result.rank[*department];
        rank = std::max<quint8>(rank, quint8(count - '0'));
    }
    return result;
}

std::optional<QRectF> outlineBounds(QByteArrayView path)
{
    PathReader reader(path);
    double x = 0, y = 0, startX = 0, startY = 0;
    double left = 0, top = 0, right = 0, bottom = 0;
    bool any = false;
    auto add = [&] {
        left = any ? std::min(left, x) : x;
        right = any ? std::max(right, x) : x;
        top = any ? std::min(top, y) : y;
        bottom = any ? std::max(bottom, y) : y;
        any = true;
    };
    char command = 0;
    while (!reader.atEnd()) {
        if (!reader.atNumber()) {
            command = reader.command();
            if (command == 'Z' || command == 'z') {
                x = startX;
                y = startY;
            } else if (!QByteArrayView("MmLlHhVv").contains(command)) {
                return std::nullopt;
            }
            continue;
        }
        const bool relative = command >= 'a';
        const char upper = char(command & ~0x20);
        if (upper == 'H' || upper == 'V') {
            const std::optional<double> v = reader.value();
            if (!v)
                return std::nullopt;
            (upper == 'H' ? x : y) = (relative ? (upper == 'H' ? x : y) : 0) + *v;
        } else if (upper == 'M' || upper == 'L') {
            const std::optional<double> dx = reader.value();
            const std::optional<double> dy = reader.value();
            if (!dx || !dy)
                return std::nullopt;
            x = (relative ? x : 0) + *dx;
            y = (relative ? y : 0) + *dy;
            if (upper == 'M') {
                startX = x;
                startY = y;
                command = relative ? 'l' : 'L'; // further pairs are lines
            }
        } else {
            return std::nullopt; // numbers before any command, or after Z
        }
        add();
    }
    if (!any)
        return std::nullopt;
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

FranceMap FranceMap::parse(const QByteArray& svg, QString* error)
{
    FranceMap map;
    QXmlStreamReader xml(svg);
    auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return FranceMap{};
    };
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == QLatin1String("svg")) {
            const QStringList box = attributes.value(QLatin1String("viewBox")).toString().simplified().split(' ');
            if (box.size() == 4)
                map.viewBox = QRectF(box[0].toDouble(), box[1].toDouble(), box[2].toDouble(), box[3].toDouble());
        } else if (xml.name() == QLatin1String("path")) {
            Department d{attributes.value(QLatin1String("id")).toLatin1(),
                         attributes.value(QLatin1String("aria-label")).toString(),
                         attributes.value(QLatin1String("d")).toLatin1(),
                         {}};
            const std::optional<QRectF> bounds = outlineBounds(d.outline);
            if (!departmentNumber(d.id) || !bounds)
                return fail(QStringLiteral("département « %1 » illisible").arg(QString::fromLatin1(d.id)));
            d.bounds = *bounds;
            map.departments.append(d);
        }
    }
    if (xml.hasError())
        return fail(xml.errorString());
    if (map.viewBox.isEmpty() || map.departments.isEmpty())
        return fail(QStringLiteral("aucun département"));
    return map;
}

const FranceMap& FranceMap::shipped()
{
    static const FranceMap map = [] {
        QFile file(QStringLiteral(":/cartes/france-departements.svg"));
        return file.open(QIODevice::ReadOnly) ? parse(file.readAll(), nullptr) : FranceMap{};
    }();
    return map;
}

QString attribution()
{
    return QStringLiteral("Carte : Victor Cazanave, svg-maps (CC BY 4.0)");
}

namespace {

// What one drawing holds: the fills, the lines (outlines, frame, numbers), or both.
struct Layers {
    bool fills;
    bool lines;
    QByteArray fill(const QByteArray& colour) const { return fills ? colour : "none"; }
    QByteArray stroke() const { return lines ? "#000000" : "none"; }
};

// Every department with its fill; the bounds of Paris and its neighbours are returned.
QRectF writeDepartments(QByteArray& out, const FranceMap& map, const Colouring& colouring, const SvgOptions& options,
                        const Layers& layers)
{
    out += "<g id=\"departements\" stroke=\"" + layers.stroke() + "\" stroke-width=\"" + number(kOutline) +
           "\" stroke-linejoin=\"round\">\n";
    QRectF paris;
    for (const FranceMap::Department& d : map.departments) {
        const int rank = colouring.rank[*departmentNumber(d.id)];
        out += "<path id=\"" + d.id + "\" fill=\"" +
               layers.fill(colourText(palette::markColour(rank).value_or(options.background))) + "\" d=\"" + d.outline +
               "\"/>\n";
        if (isParisInset(d.id))
            paris = paris.united(d.bounds);
    }
    out += "</g>\n";
    if (!layers.lines)
        return paris;
    // The numbers, but for the departments of the inset.
    out += "<g id=\"numeros\" font-family=\"sans-serif\" font-size=\"" + number(kNumberSize) +
           "\" text-anchor=\"middle\" fill=\"#000000\">\n";
    for (const FranceMap::Department& d : map.departments) {
        if (!isParisInset(d.id))
            out += numberText(d.bounds.center().x(), d.bounds.center().y(), kNumberSize,
                              departmentLabel(*departmentNumber(d.id)));
    }
    out += "</g>\n";
    return paris;
}

// Paris and its three neighbours again, enlarged in a frame at the top left.
void writeInset(QByteArray& out, const FranceMap& map, const QRectF& paris, const Layers& layers)
{
    const QRectF box = map.viewBox;
    const double scale = (kInsetSize - 2 * kInsetPadding) / std::max(paris.width(), paris.height());
    const QPointF origin(box.x() + kInsetOrigin + (kInsetSize - paris.width() * scale) / 2,
                         box.y() + kInsetOrigin + (kInsetSize - paris.height() * scale) / 2);
    out += "<g id=\"encart-paris\">\n<rect x=\"" + number(box.x() + kInsetOrigin) + "\" y=\"" +
           number(box.y() + kInsetOrigin) + "\" width=\"" + number(kInsetSize) + "\" height=\"" + number(kInsetSize) +
           "\" fill=\"" + layers.fill("#FFFFFF") + "\" stroke=\"" + layers.stroke() + "\" stroke-width=\"0.8\"/>\n";
    out += "<g transform=\"translate(" + number(origin.x()) + ' ' + number(origin.y()) + ") scale(" +
           QByteArray::number(scale, 'f', 4) + ") translate(" + number(-paris.x()) + ' ' + number(-paris.y()) +
           ")\" stroke=\"" + layers.stroke() + "\" stroke-width=\"" + QByteArray::number(kOutline * 2 / scale, 'f', 4) +
           "\" stroke-linejoin=\"round\">\n";
    for (const QByteArray& id : kParisAndNeighbours)
        out += "<use xlink:href=\"#" + id + "\"/>\n";
    out += "</g>\n";
    if (layers.lines) {
        out += "<g font-family=\"sans-serif\" font-size=\"" + number(kInsetNumberSize) +
               "\" text-anchor=\"middle\" fill=\"#000000\">\n";
        for (const FranceMap::Department& d : map.departments) {
            if (isParisInset(d.id)) {
                const QPointF centre = origin + (d.bounds.center() - paris.topLeft()) * scale;
                out += numberText(centre.x(), centre.y(), kInsetNumberSize, d.id);
            }
        }
        out += "</g>\n";
    }
    out += "</g>\n";
}

} // namespace

QByteArray svg(const FranceMap& map, const Colouring& colouring, const SvgOptions& options)
{
    const Layers layers{options.layer != SvgOptions::Layer::Lines, options.layer != SvgOptions::Layer::Fills};
    const QRectF box = map.viewBox;
    const double height = box.height() + (options.footer ? kFooter : 0); // the same in both layers
    QByteArray out;
    out.reserve(160 * 1024);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"" +
           number(box.width()) + "\" height=\"" + number(height) + "\" viewBox=\"" + number(box.x()) + ' ' +
           number(box.y()) + ' ' + number(box.width()) + ' ' + number(height) + "\">\n";
    if (layers.fills)
        out += "<rect x=\"" + number(box.x()) + "\" y=\"" + number(box.y()) + "\" width=\"" + number(box.width()) +
               "\" height=\"" + number(height) + "\" fill=\"#FFFFFF\"/>\n";
    const QRectF paris = writeDepartments(out, map, colouring, options, layers);
    if (!paris.isEmpty())
        writeInset(out, map, paris, layers);
    if (!options.footer || !layers.lines)
        return out + "</svg>\n";
    // Title and attribution under the map.
    const double baseline = box.y() + height - 8;
    if (!options.title.isEmpty())
        out += "<text id=\"titre\" x=\"" + number(box.x() + 6) + "\" y=\"" + number(baseline) +
               "\" font-family=\"sans-serif\" font-size=\"11\" fill=\"#000000\">" + xmlText(options.title) +
               "</text>\n";
    out += "<text id=\"attribution\" x=\"" + number(box.right() - 6) + "\" y=\"" + number(baseline) +
           "\" font-family=\"sans-serif\" font-size=\"8\" text-anchor=\"end\" fill=\"#404040\">" +
           xmlText(attribution()) + "</text>\n</svg>\n";
    return out;
}

QString title(const QString& displayCallsign, const QString& band, const QString& mode, const Colouring& colouring)
{
    return QStringLiteral("JNM %1 - %2 %3 : %4 activations, %5 départements contactés")
        .arg(displayCallsign, band, mode)
        .arg(colouring.matchingQsos)
        .arg(colouring.colouredDepartments());
}

QString fileName(const QString& storedCallsign, const QString& band, const QString& mode, const QString& extension)
{
    QString compactBand = band;
    compactBand.remove(QLatin1Char(' '));
    return storedCallsign + QStringLiteral("_Carte_") + compactBand + QLatin1Char('_') + mode + QLatin1Char('.') +
           extension;
}

} // namespace tv::activationmap
