#include "ui/design_builder.h"

#include "ui/box_label.h"
#include "ui/fonts.h"
#include "ui/image_control.h"
#include "ui/skin.h"
#include "ui/twips.h"
#include "ui/window_design.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace vf::ui {
namespace {

QRect pixelBox(const ControlDesign& design)
{
    return {twipsToPixels(design.left), twipsToPixels(design.top), twipsToPixels(design.width),
            twipsToPixels(design.height)};
}

void applyColors(QWidget& widget, const ControlDesign& design)
{
    QPalette palette = widget.palette();
    if (design.foreColor) {
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, *design.foreColor);
    }
    if (design.backColor) {
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            palette.setColor(role, *design.backColor);
    }
    widget.setPalette(palette);
    widget.setAutoFillBackground(design.opaque);
}

QWidget* makeImage(QWidget& window, const ControlDesign& design)
{
    auto* image = new ImageControl(&window);  // owned by the window
    image->setGeometry(pixelBox(design));
    if (!design.picture.isEmpty())
        image->setPicture(skinPicture(design.picture));
    return image;
}

QWidget* makeLabel(QWidget& window, const ControlDesign& design)
{
    QLabel* label = nullptr;
    if (design.autoSize) {
        label = new QLabel(design.text, &window);  // owned by the window
        label->setTextFormat(Qt::PlainText);
    } else {
        label = new BoxLabel(&window);  // owned by the window
        label->setText(design.text);
    }
    // Pointer moves and presses over a label end at the label.
    label->setAttribute(Qt::WA_NoMousePropagation);
    return label;
}

QWidget* makeButton(QWidget& window, const ControlDesign& design)
{
    auto* button = new QPushButton(design.text, &window);  // owned by the window
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QWidget* makePictureBox(QWidget& window, const ControlDesign& design)
{
    auto* box = new QLabel(&window);  // owned by the window
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setLineWidth(1);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setPixmap(skinPicture(design.picture));
    box->setFocusPolicy(Qt::StrongFocus);
    return box;
}

QWidget* makeFileList(QWidget& window, const ControlDesign& design)
{
    auto* list = new QListWidget(&window);  // owned by the window
    list->setProperty("pattern", design.pattern);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return list;
}

QWidget* makeWidget(QWidget& window, const ControlDesign& design)
{
    switch (design.kind) {
    case ControlKind::Image:
        return makeImage(window, design);
    case ControlKind::Label:
        return makeLabel(window, design);
    case ControlKind::Button:
        return makeButton(window, design);
    case ControlKind::PictureBox:
        return makePictureBox(window, design);
    case ControlKind::FileList:
        return makeFileList(window, design);
    case ControlKind::DriveList:
        return new QComboBox(&window);  // owned by the window
    case ControlKind::DirList:
        return new QListWidget(&window);  // owned by the window
    case ControlKind::Timer:
    case ControlKind::FileDialog:
    case ControlKind::Component:
        return nullptr;
    }
    return nullptr;
}

void placeWidget(QWidget& widget, const ControlDesign& design)
{
    if (design.kind == ControlKind::Image)
        return;  // an image keeps its picture's size
    if (design.kind == ControlKind::Label && design.autoSize) {
        widget.move(twipsToPixels(design.left), twipsToPixels(design.top));
        widget.adjustSize();
        return;
    }
    widget.setGeometry(pixelBox(design));
}

void makeTimer(QWidget& window, const ControlDesign& design)
{
    auto* timer = new QTimer(&window);  // owned by the window
    timer->setObjectName(design.name);
    timer->setInterval(design.interval);
    if (design.enabled)
        timer->start();
}

void applyTabOrder(std::vector<std::pair<int, QWidget*>> tabbed)
{
    std::ranges::stable_sort(tabbed, {}, &std::pair<int, QWidget*>::first);
    for (std::size_t i = 1; i < tabbed.size(); ++i)
        QWidget::setTabOrder(tabbed[i - 1].second, tabbed[i].second);
    // The control with the lowest tab place that takes focus has it on opening.
    for (const auto& [place, widget] : tabbed) {
        if (widget->focusPolicy() != Qt::NoFocus && !widget->isHidden()) {
            widget->setFocus();
            break;
        }
    }
}

} // namespace

void buildControls(QWidget& window, const WindowDesign& design)
{
    std::vector<std::pair<int, QWidget*>> tabbed;
    for (const ControlDesign& control : design.controls) {
        if (control.kind == ControlKind::Timer) {
            makeTimer(window, control);
            continue;
        }
        QWidget* widget = makeWidget(window, control);
        if (!widget)
            continue;
        widget->setObjectName(control.name);
        widget->setFont(designFont(control.fontPoints.value_or(kDefaultFontPoints)));
        applyColors(*widget, control);
        placeWidget(*widget, control);
        if (design.focusless)
            widget->setFocusPolicy(Qt::NoFocus);
        // Listed front first: each later control goes behind all before it.
        widget->lower();
        widget->setVisible(control.visible);
        if (control.tabIndex)
            tabbed.emplace_back(*control.tabIndex, widget);
    }
    applyTabOrder(std::move(tabbed));
}

} // namespace vf::ui
