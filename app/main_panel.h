#pragma once
// The control panel `main`: the borderless, skinned start-up window with the
// fourteen picture buttons, the progress images, the four text lines and the
// two timers.

#include "app/window_drag.h"
#include "playback/open_file_dialog.h"
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
    // Switches the progress timer on or off; switching it on while it runs
    // keeps its current count.
    void setTimeEnabled(bool enabled);

    void Form_Load() override;
    void resetbuttons();

    // Playback commands.
    void openfile_Click();
    void playa_Click();
    void stopa_Click();
    void ht_Click();
    void qj_Click();
    void kht_Click();
    void kqj_Click();
    // Window commands.
    void small_Click();
    void ying_Click();
    void list_Click();
    void qian_Click();
    void ab_Click();
    // Opens the folder chooser.
    void opendir_Click();
    // Progress monitor and playlist docking.
    void Time_Timer();
    void Timer1_Timer();

    // The open-file dialog, kept for the whole run.
    OpenFileDialog& cd() { return cd_; }
    // 1 when the last `ying` click hid the player window.
    int yingflag() const { return yingflag_; }
    // 1 when the last `list` click showed the playlist window.
    int listflag() const { return listflag_; }

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
    // A drag of the panel began (the pointer moved after a left press on the
    // background); bySystem tells whether the window system moves it or the
    // panel follows the pointer itself.
    void dragStarted(bool bySystem);

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void connectPointerHandlers();
    void connectCommands();
    // Shows the hover picture of the named button and names it in the hint
    // line.
    void showHover(std::string_view buttonName);
    QLabel& label(const QString& name) const;

    WindowDrag drag_;
    OpenFileDialog cd_;
    int yingflag_ = 0;
    int listflag_ = 0;
};

} // namespace vf
