// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures of a chart: drawn at any size into a PNG or SVG file or onto
// the clipboard, with the chart's title above it.
#include "results/OutputFiles.h"
#include "ui/ChartPanel.h"
#include "ui/Dialogs.h"

#include <QBuffer>
#include <QChart>
#include <QClipboard>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSvgGenerator>

namespace velmora::ui {

void ChartPanel::paint(QPainter& painter, QSize size) {
    const int titleHeight = title_->sizeHint().height();
    const QRect titleArea(0, 0, size.width(), titleHeight);
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    painter.setFont(title_->font());
    painter.setPen(Qt::black);
    painter.drawText(titleArea.adjusted(6, 0, -6, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     title_->text());

    // The chart laid out afresh at the picture's size, then as it was.
    const QSizeF shown = chart_->size();
    const QSizeF drawn(size.width(), std::max(size.height() - titleHeight, 1));
    chart_->resize(drawn);
    chart_->layout()->activate();
    painter.setRenderHint(QPainter::Antialiasing);
    chart_->scene()->render(&painter, QRectF(QPointF(0, titleHeight), drawn),
                            QRectF(chart_->pos(), drawn));
    chart_->resize(shown);
    chart_->layout()->activate();
}

QImage ChartPanel::image(QSize size) {
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&picture);
    paint(painter, size);
    return picture;
}

void ChartPanel::saveImage(const QString& path, QSize size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle(title_->text());
        QPainter painter(&generator);
        paint(painter, size);
    } else {
        image(size).save(&buffer, "PNG");
    }
    // The one writer of the program's outputs: the old file stays until the
    // new one is whole.
    const Output picture{path.toStdString(), bytes.toStdString()};
    writeOutputs({&picture, 1});
}

void ChartPanel::askAndSaveImage() {
    if (dialogs_ == nullptr) {
        return;
    }
    const auto request = dialogs_->imageFile(this, size());
    if (!request) {
        return;
    }
    try {
        saveImage(request->path, request->size);
    } catch (const std::exception& failure) {
        dialogs_->error(this, QString::fromStdString(failure.what()));
    }
}

void ChartPanel::copyImage() {
    QGuiApplication::clipboard()->setImage(image(size()));
}

} // namespace velmora::ui
