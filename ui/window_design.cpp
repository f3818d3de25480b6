#include "ui/window_design.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <utility>

namespace vf::ui {
namespace {

constexpr std::array<std::pair<const char*, ControlKind>, 10> kKindNames{{
    {"image", ControlKind::Image},
    {"label", ControlKind::Label},
    {"button", ControlKind::Button},
    {"pictureBox", ControlKind::PictureBox},
    {"fileList", ControlKind::FileList},
    {"driveList", ControlKind::DriveList},
    {"dirList", ControlKind::DirList},
    {"timer", ControlKind::Timer},
    {"fileDialog", ControlKind::FileDialog},
    {"component", ControlKind::Component},
}};

constexpr std::array<std::pair<const char*, FrameStyle>, 3> kFrameNames{{
    {"none", FrameStyle::None},
    {"sizable", FrameStyle::Sizable},
    {"fixedDialog", FrameStyle::FixedDialog},
}};

template <typename Enum, std::size_t N>
std::optional<Enum> lookUp(const std::array<std::pair<const char*, Enum>, N>& names, const QString& key)
{
    for (const auto& [name, value] : names) {
        if (key == QLatin1String(name))
            return value;
    }
    return std::nullopt;
}

std::expected<QColor, QString> readColor(const QJsonValue& value, const QString& where)
{
    const QColor color = QColor::fromString(value.toString());
    if (!color.isValid())
        return std::unexpected(where + QStringLiteral(": bad colour \"%1\"").arg(value.toString()));
    return color;
}

std::expected<int, QString> readMeasure(const QJsonObject& object, const char* key, const QString& where)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined())
        return 0;
    if (!value.isDouble() || value.toDouble() < 0 || value.toDouble() > 1'000'000)
        return std::unexpected(where + QStringLiteral(": bad measure ") + QLatin1String(key));
    return value.toInt();
}

std::expected<ControlDesign, QString> parseControl(const QJsonObject& object)
{
    ControlDesign control;
    control.name = object.value(u"name").toString();
    if (control.name.isEmpty())
        return std::unexpected(QStringLiteral("control without a name"));
    const QString& where = control.name;

    const auto kind = lookUp(kKindNames, object.value(u"kind").toString());
    if (!kind)
        return std::unexpected(where + QStringLiteral(": unknown kind"));
    control.kind = *kind;

    for (auto [key, field] : {std::pair{"left", &control.left}, std::pair{"top", &control.top},
                              std::pair{"width", &control.width}, std::pair{"height", &control.height}}) {
        const auto measure = readMeasure(object, key, where);
        if (!measure)
            return std::unexpected(measure.error());
        *field = *measure;
    }

    control.visible = object.value(u"visible").toBool(true);
    control.text = object.value(u"text").toString();
    control.picture = object.value(u"picture").toString();
    control.opaque = object.value(u"opaque").toBool(false);
    control.autoSize = object.value(u"autoSize").toBool(false);
    control.enabled = object.value(u"enabled").toBool(true);
    control.pattern = object.value(u"pattern").toString();

    if (object.contains(u"font")) {
        const double points = object.value(u"font").toDouble();
        if (points <= 0 || points > 200)
            return std::unexpected(where + QStringLiteral(": bad font size"));
        control.fontPoints = points;
    }
    for (auto [key, field] : {std::pair{u"foreColor", &control.foreColor},
                              std::pair{u"backColor", &control.backColor}}) {
        if (!object.contains(key))
            continue;
        const auto color = readColor(object.value(key), where);
        if (!color)
            return std::unexpected(color.error());
        *field = *color;
    }
    if (object.contains(u"tabIndex")) {
        const int tab = object.value(u"tabIndex").toInt(-1);
        if (tab < 0)
            return std::unexpected(where + QStringLiteral(": bad tab place"));
        control.tabIndex = tab;
    }
    if (control.kind == ControlKind::Timer) {
        control.interval = object.value(u"interval").toInt(0);
        if (control.interval <= 0)
            return std::unexpected(where + QStringLiteral(": timer without an interval"));
    }
    return control;
}

} // namespace

const ControlDesign* WindowDesign::control(QStringView controlName) const
{
    for (const ControlDesign& candidate : controls) {
        if (candidate.name == controlName)
            return &candidate;
    }
    return nullptr;
}

std::expected<WindowDesign, QString> parseWindowDesign(const QByteArray& json)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull() || !document.isObject())
        return std::unexpected(QStringLiteral("not a design document: ") + parseError.errorString());
    const QJsonObject root = document.object();

    WindowDesign design;
    design.name = root.value(u"window").toString();
    if (design.name.isEmpty())
        return std::unexpected(QStringLiteral("design without a window name"));
    design.caption = root.value(u"caption").toString();
    const auto frame = lookUp(kFrameNames, root.value(u"frame").toString());
    if (!frame)
        return std::unexpected(design.name + QStringLiteral(": unknown frame"));
    design.frame = *frame;
    design.taskbarButton = root.value(u"taskbarButton").toBool(true);
    design.innerWidth = root.value(u"innerWidth").toInt(0);
    design.innerHeight = root.value(u"innerHeight").toInt(0);
    if (design.innerWidth <= 0 || design.innerHeight <= 0)
        return std::unexpected(design.name + QStringLiteral(": bad inner size"));
    design.background = root.value(u"background").toString();
    design.icon = root.value(u"icon").toString();
    design.focusless = root.value(u"focusless").toBool(false);

    for (const QJsonValue& entry : root.value(u"controls").toArray()) {
        auto control = parseControl(entry.toObject());
        if (!control)
            return std::unexpected(design.name + QStringLiteral(": ") + control.error());
        if (design.control(control->name))
            return std::unexpected(design.name + QStringLiteral(": duplicate control ") + control->name);
        design.controls.push_back(std::move(*control));
    }
    return design;
}

std::expected<WindowDesign, QString> loadWindowDesign(const QString& windowName)
{
    QFile file(QStringLiteral(":/designs/%1.json").arg(windowName));
    if (!file.open(QIODevice::ReadOnly))
        return std::unexpected(QStringLiteral("no design for window ") + windowName);
    return parseWindowDesign(file.readAll());
}

} // namespace vf::ui
