#pragma once
// The control panel `main`: the borderless, skinned start-up window with the
// fourteen picture buttons, the progress images, the four text lines and the
// two timers.

#include "app/window_drag.h"
#include "ui/design_window.h"

#include <string_view>

class QLabel;
class QTimer;

namespace vf {

namespace ui {
class ImageControl;
}

class MainPanel : public ui::DesignWindow {
    Q_OBJECT
public:
    MainPanel();

    // Image controls (buttons, holders, jin1, jin2) by design name.
    ui::ImageControl& image(const QString& name) const;

    // The text lines: current file, status, progress, hint.
    QLabel& Label1() const;
    QLabel& Label2() const;
    QLabel& Label3() const;
    QLabel& Label4() const;
    // Progress timer and docking timer.
    QTimer& Time() const;
    QTimer& Timer1() const;

    void Form_Load() override;
    void resetbuttons();

    void Form_MouseDown(short Button, short Shift, float X, float Y);
    void Form_MouseMove(short Button, short Shift, float X, float Y);
    void closea_Click();

    void openfile_MouseMove(short Button, short Shift, float X, float Y);
    void opendir_MouseMove(short Button, short Shift, float X, float Y);
    void playa_MouseMove(short Button, short Shift, float X, float Y);
    void ht_MouseMove(short Button, short Shift, float X, float Y);
    void qj_MouseMove(short Button, short Shift, float X, float Y);
    void kht_MouseMove(short Button, short Shift, float X, float Y);
    void kqj_MouseMove(short Button, short Shift, float X, float Y);
    void stopa_MouseMove(short Button, short Shift, float X, float Y);
    void ying_MouseMove(short Button, short Shift, float X, float Y);
    void qian_MouseMove(short Button, short Shift, float X, float Y);
    void list_MouseMove(short Button, short Shift, float X, float Y);
    void small_MouseMove(short Button, short Shift, float X, float Y);
    void closea_MouseMove(short Button, short Shift, float X, float Y);
    void ab_MouseMove(short Button, short Shift, float X, float Y);
    void jin1_MouseMove(short Button, short Shift, float X, float Y);

signals:
    // A drag of the panel began; bySystem tells whether the window system
    // moves it or the panel follows the pointer itself.
    void dragStarted(bool bySystem);

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void connectPointerHandlers();
    // Shows the hover picture of the named button and names it in the hint
    // line.
    void showHover(std::string_view buttonName);
    QLabel& label(const QString& name) const;

    WindowDrag drag_;
};

} // namespace vf
