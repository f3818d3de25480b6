#include "playback/flash_component.h"

#include "flash/widget/FlashWidget.h"

namespace vf {
namespace {

using flash::DispatchKind;
using flash::FlashDispatchId;

// Booleans travel to the component as -1 (true) and 0 (false).
constexpr int kTrue = -1;
constexpr int kFalse = 0;

QVariant call(flash::FlashWidget& widget, FlashDispatchId id, DispatchKind kind, const QVariantList& arguments = {})
{
    return widget.dispatch(static_cast<int>(id), kind, arguments);
}

} // namespace

QString FlashComponent::Movie() const
{
    return call(*widget_, FlashDispatchId::Movie, DispatchKind::PropertyGet).toString();
}

void FlashComponent::setMovie(const QString& path)
{
    call(*widget_, FlashDispatchId::Movie, DispatchKind::PropertyPut, {path});
}

void FlashComponent::Play()
{
    call(*widget_, FlashDispatchId::Play, DispatchKind::Method);
}

void FlashComponent::Stop()
{
    call(*widget_, FlashDispatchId::Stop, DispatchKind::Method);
}

qint32 FlashComponent::TotalFrames() const
{
    return call(*widget_, FlashDispatchId::TotalFrames, DispatchKind::PropertyGet).toInt();
}

bool FlashComponent::Playing() const
{
    return call(*widget_, FlashDispatchId::Playing, DispatchKind::PropertyGet).toBool();
}

void FlashComponent::setPlaying(bool playing)
{
    call(*widget_, FlashDispatchId::Playing, DispatchKind::PropertyPut, {playing ? kTrue : kFalse});
}

void FlashComponent::GotoFrame(qint32 frame)
{
    call(*widget_, FlashDispatchId::GotoFrame, DispatchKind::Method, {frame});
}

qint32 FlashComponent::CurrentFrame() const
{
    return call(*widget_, FlashDispatchId::CurrentFrame, DispatchKind::Method).toInt();
}

} // namespace vf
