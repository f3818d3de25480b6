#include "playback/flash_from.h"

#include "app/main_panel.h"
#include "app/windows.h"
#include "flash/widget/FlashWidget.h"
#include "playback/panel_texts.h"
#include "ui/twips.h"
#include "ui/window_placement.h"

#include <QLabel>

namespace vf {

namespace {
const QString kComponentName = QStringLiteral("Flash");
}

FlashFrom::FlashFrom()
    : ui::DesignWindow(QStringLiteral("flashfrom"))
{
    // The engine's widget starts with the settings the window design gives
    // the component: play on load, loop, no context menu, "ShowAll", "High".
    hostComponent(std::make_unique<flash::FlashWidget>());
}

FlashComponent FlashFrom::Flash() const
{
    if (!flash_)
        qFatal("the player window hosts no playback component");
    return FlashComponent(*flash_);
}

void FlashFrom::hostComponent(std::unique_ptr<QWidget> component)
{
    std::unique_ptr<QWidget> previous(component_);
    component_ = component.release();
    flash_ = qobject_cast<flash::FlashWidget*>(component_);
    if (!component_)
        return;
    component_->setParent(this);
    component_->setObjectName(kComponentName);
    if (const ui::ControlDesign* place = design().control(kComponentName)) {
        component_->setGeometry(ui::twipsToPixels(place->left), ui::twipsToPixels(place->top),
                                ui::twipsToPixels(place->width), ui::twipsToPixels(place->height));
    }
    component_->show();
}

bool FlashFrom::Move(double leftTwips, double topTwips)
{
    // The window system does not move a minimised or maximised window; its
    // normal place stays as it was.
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))
        return false;
    ui::moveInTwips(*this, leftTwips, topTwips);
    return true;
}

void FlashFrom::Form_Resize()
{
    // The component covers the whole inner area in every window state,
    // minimised included: no margin, no kept aspect, no minimum size.
    if (component_)
        component_->setGeometry(rect());
}

void FlashFrom::resizeEvent(QResizeEvent* event)
{
    ui::DesignWindow::resizeEvent(event);
    Form_Resize();
}

void FlashFrom::Form_Unload(int&)
{
    MainPanel& panel = Windows::main();
    panel.Label2().setText(texts::kStoppedStatus);
    panel.setTimeEnabled(false);
    panel.Label1().setText(QString());
    panel.Label3().setText(QString());
    Flash().Stop();
    Flash().setMovie(QString());
    // The close goes on: the window and its component are destroyed.
}

} // namespace vf
