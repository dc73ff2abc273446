#include "ui/Intensity.h"

#include "ui/ChartPanel.h"
#include "ui/MemoField.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>

namespace velmora::ui {

TForm2::TForm2(QWidget* parent)
    : QWidget(parent, Qt::Window),
      chart_(new ChartPanel(QStringLiteral("Chart1"), QStringLiteral("TChart"))),
      memo1_(makeMemo(QStringLiteral("Memo1"))), memo2_(makeMemo(QStringLiteral("Memo2"))) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Intensity results"));
    resize(567, 376);

    for (std::size_t i = 0; i < series_.size(); ++i) {
        auto* series = new QLineSeries;
        series->setObjectName(QStringLiteral("Series%1").arg(i + 1));
        series->setName(series->objectName());
        series->setPointsVisible(true);
        series->setMarkerSize(6);
        series_[i] = series;
        chart_->addSeries(series);
    }

    memo1_->setFont(timesFont(13));
    memo2_->setFont(timesFont(13));
    auto* peaks = new QGroupBox(QStringLiteral("w(R)"));
    peaks->setObjectName(QStringLiteral("GroupBox1"));
    auto* peaksLayout = new QVBoxLayout(peaks);
    peaksLayout->addWidget(memo1_);
    peaksLayout->addWidget(memo2_);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->addWidget(chart_);
    splitter->addWidget(peaks);
    splitter->setStretchFactor(0, 1);
    splitter->setSizes({400, 160});

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
}

} // namespace velmora::ui
