#include "app/DialogLayout.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace kpl {

namespace {

Rgb toRgb(const QJsonValue& value, const Rgb& fallback) {
    const QJsonArray parts = value.toArray();
    if (parts.size() != 3)
        return fallback;
    return {parts[0].toInt(), parts[1].toInt(), parts[2].toInt()};
}

ControlFont toFont(const QJsonValue& value) {
    const QJsonObject font = value.toObject();
    return {font.value(QLatin1String("family")).toString(QStringLiteral("MS Sans Serif")),
            font.value(QLatin1String("size")).toDouble(8),
            font.value(QLatin1String("bold")).toBool()};
}

Control toControl(const QJsonObject& o, const Rgb& formBack) {
    Control c;
    c.name = o.value(QLatin1String("name")).toString();
    c.kind = o.value(QLatin1String("kind")).toString();
    c.container = o.value(QLatin1String("container")).toString();
    c.caption = o.value(QLatin1String("caption")).toString();
    c.left = o.value(QLatin1String("left")).toInt();
    c.top = o.value(QLatin1String("top")).toInt();
    c.width = o.value(QLatin1String("width")).toInt();
    c.height = o.value(QLatin1String("height")).toInt();
    c.tabIndex = o.value(QLatin1String("tabIndex")).toInt();
    c.helpId = o.value(QLatin1String("helpId")).toInt();
    c.font = toFont(o.value(QLatin1String("font")));
    c.tag = o.value(QLatin1String("tag")).toString();
    if (o.contains(QLatin1String("index")))
        c.index = o.value(QLatin1String("index")).toInt();
    c.picture = o.value(QLatin1String("picture")).toString();
    const QJsonArray pictureSize = o.value(QLatin1String("pictureSize")).toArray();
    c.pictureWidth = pictureSize.at(0).toInt();
    c.pictureHeight = pictureSize.at(1).toInt();
    c.enabled = o.value(QLatin1String("enabled")).toBool(true);
    c.backColor = toRgb(o.value(QLatin1String("backColor")), formBack);
    return c;
}

} // namespace

DialogLayout parseDialogLayout(const QByteArray& json) {
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    const QJsonObject form = root.value(QLatin1String("form")).toObject();
    DialogLayout layout;
    layout.form.name = form.value(QLatin1String("name")).toString();
    layout.form.caption = form.value(QLatin1String("caption")).toString();
    layout.form.clientWidth = form.value(QLatin1String("clientWidth")).toInt();
    layout.form.clientHeight = form.value(QLatin1String("clientHeight")).toInt();
    layout.form.backColor = toRgb(form.value(QLatin1String("backColor")), Rgb{192, 192, 192});
    for (const QJsonValue& control : root.value(QLatin1String("controls")).toArray())
        layout.controls.append(toControl(control.toObject(), layout.form.backColor));
    return layout;
}

DialogLayout presetsDialogLayout() {
    QFile file(QStringLiteral(":/kpl/layout/frm_KPL_Presets_Config_Exe.json"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the dialog layout is missing from the program's resources");
    return parseDialogLayout(file.readAll());
}

} // namespace kpl
