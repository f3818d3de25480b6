#include "ui/enter_key.h"

#include <QKeyEvent>
#include <QPushButton>

namespace vf::ui {
namespace {

// Owned by the button it watches.
class EnterPress : public QObject {
public:
    explicit EnterPress(QPushButton& button)
        : QObject(&button)
        , button_(button)
    {
        button.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &button_ || event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        button_.click();
        return true;
    }

private:
    QPushButton& button_;
};

} // namespace

void pressOnEnter(QPushButton& button)
{
    new EnterPress(button);  // owned by the button
}

} // namespace vf::ui
