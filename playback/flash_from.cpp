#include "playback/flash_from.h"

#include "ui/twips.h"

namespace vf {

namespace {
const QString kComponentName = QStringLiteral("Flash");
}

FlashFrom::FlashFrom()
    : ui::DesignWindow(QStringLiteral("flashfrom"))
{
}

void FlashFrom::hostComponent(std::unique_ptr<QWidget> component)
{
    std::unique_ptr<QWidget> previous(component_);
    component_ = component.release();
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

} // namespace vf
