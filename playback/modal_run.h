#pragma once
// Every modal dialog of the playback commands runs through here. By default
// it is the dialog's own modal loop; tests put a runner in its place so that
// no dialog waits for a user.

#include <functional>

class QDialog;

namespace vf {

using ModalRunner = std::function<int(QDialog&)>;

// Runs the dialog to its end and returns its result code.
int runModal(QDialog& dialog);

// Puts a runner in place for its lifetime; the one before comes back after.
class ScopedModalRunner {
public:
    explicit ScopedModalRunner(ModalRunner runner);
    ~ScopedModalRunner();
    ScopedModalRunner(const ScopedModalRunner&) = delete;
    ScopedModalRunner& operator=(const ScopedModalRunner&) = delete;

private:
    ModalRunner previous_;
};

} // namespace vf
