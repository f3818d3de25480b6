#include "ui/design_window.h"

#include "ui/design_builder.h"
#include "ui/fonts.h"
#include "ui/skin.h"
#include "ui/taskbar_hint.h"
#include "ui/twips.h"

#include <QCloseEvent>
#include <QIcon>
#include <QPainter>

namespace vf::ui {
namespace {

WindowDesign loadOrDie(const QString& windowName)
{
    auto design = loadWindowDesign(windowName);
    if (!design)
        qFatal("window design: %s", qPrintable(design.error()));
    return std::move(*design);
}

} // namespace

DesignWindow::DesignWindow(const QString& windowName)
    : design_(loadOrDie(windowName))
{
    setObjectName(design_.name);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(designFont());
    applyFrame();
    if (!design_.background.isEmpty())
        background_ = skinPicture(design_.background);
    buildControls(*this, design_);
}

void DesignWindow::applyFrame()
{
    setWindowTitle(design_.caption);
    if (!design_.icon.isEmpty())
        setWindowIcon(QIcon(skinPicturePath(design_.icon)));

    const QSize inner(twipsToPixels(design_.innerWidth), twipsToPixels(design_.innerHeight));
    switch (design_.frame) {
    case FrameStyle::None:
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        resize(inner);
        break;
    case FrameStyle::Sizable:
        setWindowFlags(Qt::Window);
        resize(inner);
        break;
    case FrameStyle::FixedDialog:
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                       | Qt::WindowCloseButtonHint);
        setFixedSize(inner);
        break;
    }
}

void DesignWindow::missingControl(const QString& name) const
{
    qFatal("window %s has no control %s of the expected kind", qPrintable(design_.name), qPrintable(name));
}

void DesignWindow::Form_Unload(int&) {}

void DesignWindow::closeEvent(QCloseEvent* event)
{
    int cancel = 0;
    Form_Unload(cancel);
    if (cancel != 0) {
        event->ignore();
        return;
    }
    event->accept();
    emit unloaded();
}

void DesignWindow::showEvent(QShowEvent* event)
{
    // Runs before the native window is mapped, which is when the window
    // manager reads the taskbar hint.
    if (!design_.taskbarButton && !event->spontaneous())
        markSkipTaskbar(*this);
    QWidget::showEvent(event);
}

void DesignWindow::paintEvent(QPaintEvent*)
{
    if (background_.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, background_);
}

} // namespace vf::ui
