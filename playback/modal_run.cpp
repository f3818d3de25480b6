#include "playback/modal_run.h"

#include <QDialog>

namespace vf {
namespace {

ModalRunner& installedRunner()
{
    static ModalRunner runner;
    return runner;
}

} // namespace

int runModal(QDialog& dialog)
{
    if (const ModalRunner& runner = installedRunner())
        return runner(dialog);
    return dialog.exec();
}

ScopedModalRunner::ScopedModalRunner(ModalRunner runner)
    : previous_(std::exchange(installedRunner(), std::move(runner)))
{
}

ScopedModalRunner::~ScopedModalRunner()
{
    installedRunner() = std::move(previous_);
}

} // namespace vf
