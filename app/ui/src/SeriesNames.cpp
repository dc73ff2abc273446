// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SeriesNames.h"

#include <QXYSeries>

namespace velmora::ui {

QString channelName(const FieldInputs& inputs, int channel) {
    const int k = channel / 2 + 1;
    const QString lambda = QString::fromStdString(inputs.text(lambdaField(k))).trimmed();
    return QStringLiteral("%1 nm %2")
        .arg(lambda, channel % 2 == 0 ? QStringLiteral("V") : QStringLiteral("H"));
}

void nameChannelSeries(const std::array<QXYSeries*, 8>& series, const FieldInputs& inputs) {
    for (int c = 0; c < 8; ++c) {
        series[c]->setName(channelName(inputs, c));
    }
}

} // namespace velmora::ui
