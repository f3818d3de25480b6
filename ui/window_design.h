#pragma once
// A window's design: its frame, caption, inner size and controls, all measures
// in twips. Designs are JSON documents compiled in under ":/designs/".

#include <QColor>
#include <QString>

#include <expected>
#include <optional>
#include <vector>

namespace vf::ui {

enum class FrameStyle { None, Sizable, FixedDialog };

enum class ControlKind {
    Image,       // picture that takes its picture's size
    Label,       // text line, auto-sized or a fixed box
    Button,      // push button
    PictureBox,  // sunken box that shows its picture unscaled and cut
    FileList,    // list of a folder's files matching a pattern
    DriveList,   // drop-down list of drives
    DirList,     // list of folders
    Timer,       // interval timer, not drawn
    FileDialog,  // open-file dialog component, made when it is used
    Component,   // place for a hosted widget supplied by its window
};

struct ControlDesign {
    QString name;
    ControlKind kind = ControlKind::Image;
    int left = 0;  // twips, from the window's inner top-left corner
    int top = 0;
    int width = 0;
    int height = 0;
    bool visible = true;
    QString text;
    QString picture;  // skin picture name
    std::optional<double> fontPoints;
    std::optional<QColor> foreColor;
    std::optional<QColor> backColor;
    bool opaque = false;
    bool autoSize = false;
    std::optional<int> tabIndex;
    int interval = 0;  // timers, milliseconds
    bool enabled = true;
    QString pattern;  // file lists
};

struct WindowDesign {
    QString name;
    QString caption;
    FrameStyle frame = FrameStyle::Sizable;
    bool taskbarButton = true;
    int innerWidth = 0;  // twips
    int innerHeight = 0;
    QString background;  // skin picture name, empty for the default
    QString icon;
    bool focusless = false;  // no control takes keyboard focus
    std::vector<ControlDesign> controls;  // stacking order, front first

    const ControlDesign* control(QStringView controlName) const;
};

// Parses a design document; the error names what is wrong.
std::expected<WindowDesign, QString> parseWindowDesign(const QByteArray& json);

// Loads the compiled-in design of a window by its name ("main", "Form2", ...).
std::expected<WindowDesign, QString> loadWindowDesign(const QString& windowName);

} // namespace vf::ui
