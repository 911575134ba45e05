#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace partwright {

// The About window: the tool's name, version and a short description. It is created afresh for
// every showing, so its texts are loaded each time, and shown with exec(), which makes it modal.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

private:
    void createControls();
    void Form_Load();
    void cmdOK_Click();

    QLabel* lblDescription = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QPushButton* cmdOK = nullptr;
    QLabel* imgDisc = nullptr;
};

} // namespace partwright
