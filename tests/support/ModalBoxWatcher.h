#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>

namespace partwright::test {

// What a message box showed.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    int windowsBehind = 0; // other windows shown at the time
};

// Watches for real modal message boxes, records what they show and answers them, so a test can
// drive operations that report through modal boxes. Without scripted answers a box is answered
// with its default button, or OK.
class ModalBoxWatcher : public QObject {
public:
    ModalBoxWatcher();

    // `first` runs while the box is open, before it is answered.
    void answerNext(QMessageBox::StandardButton button, std::function<void()> first = {})
    {
        answers_.push_back({button, std::move(first)});
    }
    const QList<SeenBox>& seen() const { return seen_; }
    void forget() { seen_.clear(); }

private:
    void check();

    QTimer timer_;
    QPointer<QMessageBox> answered_;
    QList<SeenBox> seen_;
    struct Answer {
        QMessageBox::StandardButton button;
        std::function<void()> first;
    };
    std::deque<Answer> answers_;
};

} // namespace partwright::test
