#include "playlist/form2.h"

#include "app/main_panel.h"
#include "app/mouse_arguments.h"
#include "app/windows.h"
#include "playback/flash_from.h"
#include "ui/twips.h"

#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>

namespace vf {
namespace {

// Where a double click puts the player window, screen twips.
constexpr double kPlayerLeft = 1500;
constexpr double kPlayerTop = 0;

} // namespace

Form2::Form2()
    : ui::DesignWindow(QStringLiteral("Form2"))
    , fil_(new playlist::FileList(Fil(), Fil().property("pattern").toString(),
                                  playlist::currentFolder()))  // owned by the list widget
{
    QListWidget& list = Fil();
    connect(&list, &QListWidget::itemSelectionChanged, this, &Form2::selectionChanged);
    connect(&list, &QListWidget::itemDoubleClicked, this, [this] { Fil_DblClick(); });
    list.viewport()->setMouseTracking(true);
    list.viewport()->installEventFilter(this);
}

QListWidget& Form2::Fil() const
{
    return designControl<QListWidget>(QStringLiteral("Fil"));
}

void Form2::selectionChanged()
{
    // Every new selection, by the pointer or the keyboard, is a click of the
    // list; losing the selection is none.
    if (fil_->selectedIndex() >= 0)
        Fil_Click();
}

void Form2::Fil_Click()
{
    const QString path = fil_->entryPath(fil_->selectedIndex());
    FlashComponent flash = Windows::flashfrom().Flash();
    flash.setMovie(path);
    flash.setPlaying(false);
    Windows::main().Label1().setText(QStringLiteral("正在预览：") + path);
}

void Form2::Fil_DblClick()
{
    const QString path = fil_->entryPath(fil_->selectedIndex());
    Windows::main().setTimeEnabled(false);
    FlashFrom& player = Windows::flashfrom();
    FlashComponent flash = player.Flash();
    flash.Stop();
    flash.setMovie(path);
    // A minimised or maximised player window refuses the move and is shown
    // where it is.
    player.Move(kPlayerLeft, kPlayerTop);
    player.show();
    flash.setPlaying(true);
    MainPanel& panel = Windows::main();
    panel.Label2().setText(QStringLiteral("正常播放中"));
    panel.setTimeEnabled(true);
    panel.Label1().setText(QStringLiteral("正在播放：") + path);
}

void Form2::Fil_MouseMove(short, short, float, float)
{
    Windows::main().Label4().setText(fil_->ListCount() == 0 ? QStringLiteral("请先选择播放文件夹")
                                                             : QStringLiteral("单击文件名-预览文件，双击文件名-播放文件"));
}

void Form2::Form_Resize()
{
    const double scaleLeft = 0;
    const double scaleTop = 0;
    const double scaleWidth = width() * ui::kTwipsPerPixel;
    const double scaleHeight = height() * ui::kTwipsPerPixel;
    QListWidget& list = Fil();
    const int left = ui::twipsToPixels(scaleLeft + 15);
    const int top = ui::twipsToPixels(scaleTop + 15);
    const int listWidth = std::max(0, ui::twipsToPixels(scaleWidth - 35));
    const int listHeight = std::max(0, ui::twipsToPixels(scaleHeight - 10));
    list.setGeometry(left, top, listWidth, listHeight);
}

void Form2::Form_Unload(int& cancel)
{
    // The user cannot close the playlist (a window manager's close request,
    // Alt+F4): closed, it would come back empty at the starting folder.
    cancel = 1;
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Fil().viewport() && event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        const MouseArguments args = mouseArguments(move->buttons(), move->modifiers(), move->position());
        Fil_MouseMove(args.Button, args.Shift, args.X, args.Y);
    }
    return ui::DesignWindow::eventFilter(watched, event);
}

void Form2::resizeEvent(QResizeEvent* event)
{
    ui::DesignWindow::resizeEvent(event);
    Form_Resize();
}

void Form2::showEvent(QShowEvent* event)
{
    ui::DesignWindow::showEvent(event);
    Form_Resize();
}

} // namespace vf
