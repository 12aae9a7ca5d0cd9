#include "labels/label_preview_widget.h"

#include "platform/palette.h"
#include "platform/qt_printer.h"

#include <QImage>
#include <QPainter>

#include <cmath>

namespace tv {
namespace {

constexpr double kPaperWidthMm = 210.0;
constexpr double kPaperHeightMm = 297.0;

QRectF toPixels(const labels::RectMm& rect, double perMm)
{
    return {rect.x * perMm, rect.y * perMm, rect.width * perMm, rect.height * perMm};
}

} // namespace

LabelPreviewWidget::LabelPreviewWidget(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(int(kPaperWidthMm * 1.5), int(kPaperHeightMm * 1.5));
}

void LabelPreviewWidget::showSheet(labels::Format format, const labels::Sheet& sheet)
{
    m_format = format;
    m_sheet = sheet;
    update();
}

QSize LabelPreviewWidget::sizeHint() const
{
    return {int(kPaperWidthMm * 2.4), int(kPaperHeightMm * 2.4)};
}

void LabelPreviewWidget::paintEvent(QPaintEvent*)
{
    // The sheet is drawn on an image whose resolution makes a millimetre this many pixels, so
    // that the fonts' points come out at the scale of the paper.
    const double perMm = std::min(width() / kPaperWidthMm, height() / kPaperHeightMm);
    if (perMm <= 0)
        return;
    QImage page(int(kPaperWidthMm * perMm), int(kPaperHeightMm * perMm), QImage::Format_RGB32);
    page.setDotsPerMeterX(int(std::lround(perMm * 1000)));
    page.setDotsPerMeterY(int(std::lround(perMm * 1000)));
    page.fill(QColor(palette::kPaper));
    {
        QPainter painter(&page);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(palette::kLabelOutline), 1, Qt::DashLine));
        for (int position = 0; position < labels::kLabelsPerSheet; ++position)
            painter.drawRect(toPixels(labels::labelRect(m_format, position), perMm));
        painter.setPen(QColor(palette::kInk));
        for (const labels::PlacedLabel& label : m_sheet.labels)
            for (const labels::PlacedText& text : label.texts)
                QtPrinter::drawPlacedText(painter, perMm * 25.4, QPointF(0, 0), QPointF(text.x, text.y), text.text,
                                          QtPrinter::resolve(text.font));
    }
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QPoint corner((width() - page.width()) / 2, (height() - page.height()) / 2);
    painter.drawImage(corner, page);
    painter.setPen(QColor(palette::kPaperEdge));
    painter.drawRect(QRect(corner, page.size()).adjusted(0, 0, -1, -1));
}

} // namespace tv
