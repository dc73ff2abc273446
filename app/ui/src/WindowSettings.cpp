// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowSettings.h"

#include "ui/MainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSettings>

#include <optional>

namespace velmora::ui {

namespace {

const QString modeKey = QStringLiteral("fit/mode");
const QString dielectricKey = QStringLiteral("fit/dielectric");
const QString refineKey = QStringLiteral("fit/refine");

QCheckBox* refineBox(const MainWindow& window) {
    return window.findChild<QCheckBox*>(QStringLiteral("RefineBox"));
}

// Fields are stored under their object names ("fields/Edit9").
QString fieldKey(const QLineEdit* field) {
    return QStringLiteral("fields/") + field->objectName();
}

// The stored item of a box, if it is one the box has (-1: none selected).
std::optional<int> storedItem(const QSettings& settings, const QString& key, const QComboBox* box) {
    bool isNumber = false;
    const int item = settings.value(key).toInt(&isNumber);
    if (!settings.contains(key) || !isNumber || item < -1 || item >= box->count()) {
        return std::nullopt;
    }
    return item;
}

} // namespace

void restoreWindowSettings(MainWindow& window, const QSettings& settings) {
    for (const FieldDefault& d : kFieldDefaults) {
        QLineEdit* field = window.edit(d.field);
        const QVariant text = settings.value(fieldKey(field));
        if (text.isValid()) {
            field->setText(text.toString());
        }
    }
    const auto box = [&](const char* name) {
        return window.findChild<const QComboBox*>(QLatin1String(name));
    };
    if (const auto item = storedItem(settings, dielectricKey, box("ComboBox2"))) {
        window.selectModel(*item);
    }
    if (const auto item = storedItem(settings, modeKey, box("ComboBox1"))) {
        window.selectMode(*item);
    }
    if (settings.contains(refineKey)) {
        refineBox(window)->setChecked(settings.value(refineKey).toBool());
    }
}

void saveWindowSettings(const MainWindow& window, QSettings& settings) {
    for (const FieldDefault& d : kFieldDefaults) {
        const QLineEdit* field = window.edit(d.field);
        settings.setValue(fieldKey(field), field->text());
    }
    const FieldInputs inputs = window.snapshotInputs();
    settings.setValue(modeKey, inputs.fitMode);
    settings.setValue(dielectricKey, inputs.dielectric);
    settings.setValue(refineKey, inputs.refine);
}

} // namespace velmora::ui
