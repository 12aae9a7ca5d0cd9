#include "platform/qt_printer.h"
#include "platform/progress_dialog.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <optional>
#include <utility>

namespace tv {
namespace {

void setUpA4(QPrinter& printer)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
}

} // namespace

QtPrinter::QtPrinter(QWidget* dialogParent)
    : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)), m_parent(dialogParent)
{
    setUpA4(*m_printer);
}

std::unique_ptr<QtPrinter> QtPrinter::toPdf(const QString& pdfFile)
{
    auto printer = std::make_unique<QtPrinter>();
    printer->m_withDialog = false;
    printer->m_printer->setOutputFormat(QPrinter::PdfFormat);
    printer->m_printer->setOutputFileName(pdfFile);
    return printer;
}

QtPrinter::~QtPrinter() = default;

QFont QtPrinter::resolve(const PrintFont& wanted)
{
    QFont font(wanted.family);
    // A font the system lacks ("Courier New", "Terminal" on Linux) is replaced by the
    // fixed-pitch font of the system, since the reports are laid out in fixed columns.
    if (!QFontDatabase::hasFamily(wanted.family))
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(std::max(1, wanted.pointSize));
    font.setBold(wanted.bold);
    return font;
}

bool QtPrinter::choosePrinter()
{
    if (!m_withDialog)
        return true;
    QPrintDialog dialog(m_printer.get(), m_parent);
    dialog.setWindowTitle(QStringLiteral("Imprimer"));
    return dialog.exec() == QDialog::Accepted;
}

const QFont& QtPrinter::resolved(const PrintFont& wanted)
{
    // One QFont per font of the document: its copies share the font engine, which is looked up
    // once instead of once per line.
    for (const auto& [font, qfont] : m_fonts)
        if (font == wanted)
            return qfont;
    m_fonts.append({wanted, resolve(wanted)});
    return m_fonts.last().second;
}

void QtPrinter::printLine(const QString& text)
{
    m_lines.append({text, resolved(font())});
}

void QtPrinter::placeText(double xMm, double yMm, const QString& text, const PrintFont& font)
{
    m_placed.append({m_page, QPointF(xMm, yMm), text, resolved(font)});
}

void QtPrinter::newPage()
{
    ++m_page;
}

bool QtPrinter::endDocument()
{
    const QList<Line> lines = std::exchange(m_lines, {});
    const QList<Placed> placed = std::exchange(m_placed, {});
    m_page = 0;
    m_lastPages = 0;
    QPainter painter;
    if (!painter.begin(m_printer.get()))
        return false;
    // A long document (the listing of a full log, hundreds of label sheets) shows its progress:
    // one step per placed text and per line.
    std::unique_ptr<ProgressDialog> progress;
    if (m_parent)
        progress = std::make_unique<ProgressDialog>(QStringLiteral("Impression en cours…"),
                                                    int(placed.size() + lines.size()), m_parent);
    m_progress = progress.get();
    m_done = 0;
    const bool drawn = drawPlaced(painter, placed) && drawLines(painter, lines, !placed.isEmpty());
    m_progress = nullptr;
    return painter.end() && drawn;
}

void QtPrinter::advance(int steps)
{
    constexpr int kStep = 256;
    const int before = m_done;
    m_done += steps;
    if (m_progress && before / kStep != m_done / kStep)
        m_progress->step(m_done);
}

bool QtPrinter::drawPlaced(QPainter& painter, const QList<Placed>& placed)
{
    // The painter's origin is the top left corner of the printable area, not of the paper.
    const int dpi = m_printer->resolution();
    const QPointF origin = m_printer->pageLayout().paintRectPixels(dpi).topLeft();
    int lastPage = -1;
    for (const Placed& text : placed)
        lastPage = std::max(lastPage, text.page);
    // The texts of each page, in the order they were placed.
    QList<QList<const Placed*>> pages(lastPage + 1);
    for (const Placed& text : placed)
        pages[text.page].append(&text);
    for (int page = 0; page <= lastPage; ++page) {
        if (page > 0 && !m_printer->newPage())
            return false;
        ++m_lastPages;
        for (const Placed* text : pages[page])
            drawPlacedText(painter, dpi, origin, text->at, text->text, text->font);
        advance(int(pages[page].size()));
    }
    return true;
}

void QtPrinter::drawPlacedText(QPainter& painter, double dpi, QPointF origin, QPointF mm, const QString& text,
                               const QFont& font)
{
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    painter.drawText(mm * (dpi / 25.4) - origin + QPointF(0, metrics.ascent()), text);
}

bool QtPrinter::drawLines(QPainter& painter, const QList<Line>& lines, bool onNewPage)
{
    if (lines.isEmpty())
        return true;
    if (onNewPage && !m_printer->newPage())
        return false;
    const double pageWidth = m_printer->width();
    // The metrics of the font of the lines before, measured again only when the font changes.
    std::optional<QFontMetricsF> metrics;
    const QFont* measured = nullptr;
    const auto metricsOf = [&](const QFont& font) -> const QFontMetricsF& {
        if (!measured || !(*measured == font)) {
            metrics.emplace(font, m_printer.get());
            measured = &font;
        }
        return *metrics;
    };
    double widest = 0;
    for (const Line& line : lines)
        widest = std::max(widest, metricsOf(line.font).horizontalAdvance(line.text));
    const double scale = widest > pageWidth ? pageWidth / widest : 1.0;
    painter.save();
    painter.scale(scale, scale);
    const double pageHeight = m_printer->height() / scale;

    double y = 0;
    ++m_lastPages;
    bool drawn = true;
    for (const Line& line : lines) {
        const QFontMetricsF& lineMetrics = metricsOf(line.font);
        if (y > 0 && y + lineMetrics.height() > pageHeight) {
            if (!m_printer->newPage()) {
                drawn = false;
                break;
            }
            ++m_lastPages;
            y = 0;
        }
        if (painter.font() != line.font)
            painter.setFont(line.font);
        painter.drawText(QPointF(0, y + lineMetrics.ascent()), line.text);
        y += lineMetrics.lineSpacing();
        advance(1);
    }
    painter.restore();
    return drawn;
}

void QtPrinter::discardDocument()
{
    m_fonts.clear();
    m_lines.clear();
    m_placed.clear();
    m_page = 0;
}

} // namespace tv
