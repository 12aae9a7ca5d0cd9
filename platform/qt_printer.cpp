#include "platform/qt_printer.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
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

QFont QtPrinter::currentFont() const
{
    QFont font(m_fontName);
    // A font the system lacks ("Courier New", "Terminal" on Linux) is replaced by the
    // fixed-pitch font of the system, since the reports are laid out in fixed columns.
    if (!QFontDatabase::hasFamily(m_fontName))
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(std::max(1, m_fontSize));
    font.setBold(m_bold);
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

void QtPrinter::printLine(const QString& text)
{
    m_lines.append({text, currentFont()});
}

bool QtPrinter::endDocument()
{
    const QList<Line> lines = std::exchange(m_lines, {});
    m_lastPages = 0;
    QPainter painter;
    if (!painter.begin(m_printer.get()))
        return false;

    // The painter's origin is the top left corner of the printable area.
    const double pageWidth = m_printer->width();
    double widest = 0;
    for (const Line& line : lines)
        widest = std::max(widest, QFontMetricsF(line.font, m_printer.get()).horizontalAdvance(line.text));
    const double scale = widest > pageWidth ? pageWidth / widest : 1.0;
    painter.scale(scale, scale);
    const double pageHeight = m_printer->height() / scale;

    double y = 0;
    m_lastPages = 1;
    for (const Line& line : lines) {
        const QFontMetricsF metrics(line.font, m_printer.get());
        if (y > 0 && y + metrics.height() > pageHeight) {
            if (!m_printer->newPage()) {
                painter.end();
                return false;
            }
            ++m_lastPages;
            y = 0;
        }
        painter.setFont(line.font);
        painter.drawText(QPointF(0, y + metrics.ascent()), line.text);
        y += metrics.lineSpacing();
    }
    return painter.end();
}

void QtPrinter::discardDocument()
{
    m_lines.clear();
}

} // namespace tv
