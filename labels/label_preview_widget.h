#pragma once

#include "labels/label_sheet.h"

#include <QWidget>

namespace tv {

// A sheet of labels as it will print: the A4 paper, the outline of every label of the format
// and the texts placed on it, drawn by the printer's own drawing of placed texts.
class LabelPreviewWidget final : public QWidget {
    Q_OBJECT
public:
    explicit LabelPreviewWidget(QWidget* parent = nullptr);

    void showSheet(labels::Format format, const labels::Sheet& sheet);
    const labels::Sheet& sheet() const { return m_sheet; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    labels::Format m_format = labels::Format::AveryL7162;
    labels::Sheet m_sheet;
};

} // namespace tv
