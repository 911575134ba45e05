#include "support/ModalBoxWatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>

namespace partwright::test {

ModalBoxWatcher::ModalBoxWatcher()
{
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, &ModalBoxWatcher::check);
    timer_.start();
}

void ModalBoxWatcher::check()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || box == answered_ || !box->isVisible())
        return;
    answered_ = box;

    QAbstractButton* preferred = box->defaultButton();
    SeenBox seen{box->windowTitle(),
                 box->text(),
                 box->icon(),
                 box->standardButtons(),
                 preferred ? box->standardButton(preferred) : QMessageBox::NoButton,
                 -1};
    for (const QWidget* window : QApplication::topLevelWidgets())
        seen.windowsBehind += window->isVisible();
    seen_.append(seen);
    QMessageBox::StandardButton answer = seen.defaultButton ? seen.defaultButton : QMessageBox::Ok;
    if (!answers_.empty()) {
        const Answer next = answers_.front();
        answers_.pop_front();
        if (next.first)
            next.first();
        answer = next.button;
    }
    if (QAbstractButton* button = box->button(answer))
        button->click();
    else
        box->reject();
}

} // namespace partwright::test
