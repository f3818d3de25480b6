#pragma once
// Base of the program's five windows: a top-level widget built from its design,
// with its controls reachable by their design names, a load hook that runs once
// after creation and an unload hook that runs before a close takes effect.

#include "ui/window_design.h"

#include <QPixmap>
#include <QWidget>

namespace vf::ui {

class DesignWindow : public QWidget {
    Q_OBJECT
public:
    // Builds the window and its controls from the compiled-in design of the
    // given name. The window is hidden and deletes itself when it closes.
    explicit DesignWindow(const QString& windowName);

    const WindowDesign& design() const { return design_; }

    // A control (or timer) of this window by its design name, or null.
    template <typename Control>
    Control* control(const QString& name) const
    {
        return findChild<Control*>(name, Qt::FindDirectChildrenOnly);
    }
    // A control the design is known to hold; a design without it is a
    // build defect, reported as such.
    template <typename Control>
    Control& designControl(const QString& name) const
    {
        Control* found = control<Control>(name);
        if (!found)
            missingControl(name);
        return *found;
    }

    // Runs once, after the window has been created and registered, before
    // anything shows it.
    virtual void Form_Load() {}

signals:
    // The window accepted a close: it is going away and will be deleted.
    void unloaded();

protected:
    // Runs when the window is asked to close. Setting cancel to a nonzero
    // value keeps the window open.
    virtual void Form_Unload(int& cancel);

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    [[noreturn]] void missingControl(const QString& name) const;
    void applyFrame();

    WindowDesign design_;
    QPixmap background_;
};

} // namespace vf::ui
