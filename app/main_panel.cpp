#include "app/main_panel.h"

#include "app/mouse_arguments.h"
#include "app/picture_buttons.h"
#include "app/windows.h"
#include "about/form1.h"
#include "playback/flash_from.h"
#include "playback/open_file.h"
#include "playback/progress_monitor.h"
#include "playback/transport.h"
#include "playlist/form2.h"
#include "playlist/form3.h"
#include "ui/image_control.h"
#include "ui/window_reach.h"
#include "ui/window_placement.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>

#include <algorithm>

namespace vf {
namespace {

using MoveHandler = void (MainPanel::*)(short, short, float, float);

// The buttons' move handlers, in the order of kPictureButtons.
constexpr std::array<MoveHandler, kPictureButtons.size()> kButtonMoveHandlers{
    &MainPanel::openfile_MouseMove, &MainPanel::opendir_MouseMove, &MainPanel::playa_MouseMove,
    &MainPanel::ht_MouseMove,       &MainPanel::qj_MouseMove,      &MainPanel::kht_MouseMove,
    &MainPanel::kqj_MouseMove,      &MainPanel::stopa_MouseMove,   &MainPanel::ying_MouseMove,
    &MainPanel::qian_MouseMove,     &MainPanel::list_MouseMove,    &MainPanel::small_MouseMove,
    &MainPanel::closea_MouseMove,   &MainPanel::ab_MouseMove,
};

using ClickHandler = void (MainPanel::*)();

struct ButtonCommand {
    const char* button;
    ClickHandler handler;
};

// The buttons whose click runs a command; the exit button is wired with the
// pointer handlers.
constexpr std::array<ButtonCommand, 13> kButtonCommands{{
    {"openfile", &MainPanel::openfile_Click},
    {"playa", &MainPanel::playa_Click},
    {"stopa", &MainPanel::stopa_Click},
    {"ht", &MainPanel::ht_Click},
    {"qj", &MainPanel::qj_Click},
    {"kht", &MainPanel::kht_Click},
    {"kqj", &MainPanel::kqj_Click},
    {"small", &MainPanel::small_Click},
    {"ying", &MainPanel::ying_Click},
    {"list", &MainPanel::list_Click},
    {"qian", &MainPanel::qian_Click},
    {"ab", &MainPanel::ab_Click},
    {"opendir", &MainPanel::opendir_Click},
}};

// Start-up places, screen twips.
constexpr double kPanelLeft = 2500;
constexpr double kPanelTop = 6750;
constexpr double kPlaylistGap = 5;
constexpr double kPlayerLeft = FlashFrom::kPlayingLeft;
constexpr double kPlayerTop = FlashFrom::kPlayingTop;

} // namespace

MainPanel::MainPanel()
    : ui::DesignWindow(QStringLiteral("main"))
    , drag_(*this)
{
    // Moves must arrive without a button held, on the panel and its buttons.
    setMouseTracking(true);
    connectPointerHandlers();
    connectCommands();
}

void MainPanel::connectCommands()
{
    for (const ButtonCommand& command : kButtonCommands)
        connect(&image(QString::fromUtf8(command.button)), &ui::ImageControl::clicked, this, command.handler);
    connect(&Time(), &QTimer::timeout, this, &MainPanel::Time_Timer);
    connect(&Timer1(), &QTimer::timeout, this, &MainPanel::Timer1_Timer);
}

void MainPanel::connectPointerHandlers()
{
    for (std::size_t i = 0; i < kPictureButtons.size(); ++i) {
        const MoveHandler handler = kButtonMoveHandlers[i];
        connect(&image(QString::fromUtf8(kPictureButtons[i].button)), &ui::ImageControl::mouseMoved, this,
                [this, handler](Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF position) {
                    const MouseArguments args = mouseArguments(buttons, modifiers, position);
                    (this->*handler)(args.Button, args.Shift, args.X, args.Y);
                });
    }
    connect(&image(QStringLiteral("jin1")), &ui::ImageControl::mouseMoved, this,
            [this](Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF position) {
                const MouseArguments args = mouseArguments(buttons, modifiers, position);
                jin1_MouseMove(args.Button, args.Shift, args.X, args.Y);
            });
    connect(&image(QStringLiteral("closea")), &ui::ImageControl::clicked, this, &MainPanel::closea_Click);
}

ui::ImageControl& MainPanel::image(const QString& name) const
{
    return designControl<ui::ImageControl>(name);
}

QLabel& MainPanel::label(const QString& name) const
{
    return designControl<QLabel>(name);
}

QLabel& MainPanel::Label1() const { return label(QStringLiteral("Label1")); }
QLabel& MainPanel::Label2() const { return label(QStringLiteral("Label2")); }
QLabel& MainPanel::Label3() const { return label(QStringLiteral("Label3")); }
QLabel& MainPanel::Label4() const { return label(QStringLiteral("Label4")); }

QTimer& MainPanel::Time() const { return designControl<QTimer>(QStringLiteral("Time")); }
QTimer& MainPanel::Timer1() const { return designControl<QTimer>(QStringLiteral("Timer1")); }

void MainPanel::setTimeEnabled(bool enabled)
{
    if (!enabled)
        Time().stop();
    else if (!Time().isActive())
        Time().start();
}

void MainPanel::Form_Load()
{
    resetbuttons();
    Time().stop();
    const double scaleWidth = ui::scaleWidthInTwips(*this);
    ui::moveInTwips(Windows::form2(), (scaleWidth + kPanelLeft) + kPlaylistGap, kPanelTop);
    ui::moveInTwips(*this, kPanelLeft, kPanelTop);
    ui::moveInTwips(Windows::flashfrom(), kPlayerLeft, kPlayerTop);
    Label2().setText(QStringLiteral("准备就序"));
    Label1().setText(QString());
    Label3().setText(QString());
    Label4().setText(QString());
}

void MainPanel::resetbuttons()
{
    for (const PictureButton& button : kPictureButtons)
        image(QString::fromUtf8(button.button)).setPicture(image(QString::fromUtf8(button.normalHolder)).picture());
}

void MainPanel::showHover(std::string_view buttonName)
{
    const auto found = std::ranges::find(kPictureButtons, buttonName, &PictureButton::button);
    Q_ASSERT(found != kPictureButtons.end());
    const PictureButton& button = *found;
    image(QString::fromUtf8(button.button)).setPicture(image(QString::fromUtf8(button.hoverHolder)).picture());
    Label4().setText(QString::fromUtf8(button.hint));
}

void MainPanel::Form_MouseDown(short Button, short, float X, float Y)
{
    if (Button != 1)
        return;
    // The move itself starts when the pointer moves with the button held.
    drag_.arm(mapToGlobal(QPointF(X / ui::kTwipsPerPixel, Y / ui::kTwipsPerPixel)));
}

void MainPanel::Form_MouseMove(short, short, float, float)
{
    resetbuttons();
    Label4().setText(QString());
}

void MainPanel::closea_Click()
{
    Windows::end();
}

void MainPanel::openfile_Click() { openSingleFile(*this, cd_); }
void MainPanel::playa_Click() { playMovie(*this); }
void MainPanel::stopa_Click() { stopMovie(*this); }
void MainPanel::ht_Click() { stepMovie(*this, kStepBack); }
void MainPanel::qj_Click() { stepMovie(*this, kStepForward); }
void MainPanel::kht_Click() { stepMovie(*this, kFastBack); }
void MainPanel::kqj_Click() { stepMovie(*this, kFastForward); }

void MainPanel::small_Click()
{
    // Minimised whether shown or hidden; a hidden window stays hidden.
    Windows::flashfrom().setWindowState(Qt::WindowMinimized);
}

void MainPanel::ying_Click()
{
    if (yingflag_ == 0) {
        Windows::flashfrom().hide();
        yingflag_ = 1;
    } else {
        Windows::flashfrom().show();
        yingflag_ = 0;
    }
}

void MainPanel::list_Click()
{
    if (listflag_ == 1) {
        Windows::form2().hide();
        listflag_ = 0;
    } else {
        Windows::form2().show();
        listflag_ = 1;
    }
}

void MainPanel::qian_Click()
{
    // The movie is left as it is; the window's resize fits it to the
    // maximised window.
    Windows::flashfrom().show();
    Windows::flashfrom().setWindowState(Qt::WindowMaximized);
}

void MainPanel::ab_Click()
{
    // An open box comes forward; no second one opens.
    ui::bringForward(Windows::form1());
}

void MainPanel::opendir_Click()
{
    // Creating the chooser runs its load; an open one only comes forward.
    ui::bringForward(Windows::form3());
}

void MainPanel::Time_Timer() { showProgress(*this); }
void MainPanel::Timer1_Timer() { dockPlaylist(*this); }

void MainPanel::openfile_MouseMove(short, short, float, float) { showHover("openfile"); }
void MainPanel::opendir_MouseMove(short, short, float, float) { showHover("opendir"); }
void MainPanel::playa_MouseMove(short, short, float, float) { showHover("playa"); }
void MainPanel::ht_MouseMove(short, short, float, float) { showHover("ht"); }
void MainPanel::qj_MouseMove(short, short, float, float) { showHover("qj"); }
void MainPanel::kht_MouseMove(short, short, float, float) { showHover("kht"); }
void MainPanel::kqj_MouseMove(short, short, float, float) { showHover("kqj"); }
void MainPanel::stopa_MouseMove(short, short, float, float) { showHover("stopa"); }
void MainPanel::ying_MouseMove(short, short, float, float) { showHover("ying"); }
void MainPanel::qian_MouseMove(short, short, float, float) { showHover("qian"); }
void MainPanel::list_MouseMove(short, short, float, float) { showHover("list"); }
void MainPanel::small_MouseMove(short, short, float, float) { showHover("small"); }
void MainPanel::closea_MouseMove(short, short, float, float) { showHover("closea"); }
void MainPanel::ab_MouseMove(short, short, float, float) { showHover("ab"); }

void MainPanel::jin1_MouseMove(short, short, float, float)
{
    Label4().setText(QString::fromUtf8(kProgressTrackHint));
}

void MainPanel::closeEvent(QCloseEvent* event)
{
    // A close request from the window manager ends the program like the
    // exit button; the panel itself stays until then.
    event->ignore();
    Windows::end();
}

void MainPanel::mousePressEvent(QMouseEvent* event)
{
    // Only presses on the bare background get here: every control on the
    // panel keeps its own pointer events.
    const MouseArguments args = mouseArguments(event->button(), event->modifiers(), event->position());
    Form_MouseDown(args.Button, args.Shift, args.X, args.Y);
}

void MainPanel::mouseMoveEvent(QMouseEvent* event)
{
    if (drag_.armed()) {
        if (event->buttons() & Qt::LeftButton) {
            emit dragStarted(drag_.start(event->globalPosition()));
            return;
        }
        drag_.end();  // the release went elsewhere
    }
    if (drag_.following()) {
        drag_.follow(event->globalPosition());
        return;
    }
    const MouseArguments args = mouseArguments(event->buttons(), event->modifiers(), event->position());
    Form_MouseMove(args.Button, args.Shift, args.X, args.Y);
}

void MainPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        drag_.end();
}

} // namespace vf
