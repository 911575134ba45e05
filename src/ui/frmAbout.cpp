#include "ui/frmAbout.h"

#include "text/AboutText.h"
#include "ui/Twips.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace partwright {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void MakeTextBlack(QLabel* label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
}

QString FromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

// The layout was drawn for a small classic dialog font. With a wider one the description would
// run under the OK button, so its font shrinks until every line ends above the button.
void ShrinkFontToFit(QLabel* label, const QWidget* below)
{
    const QSize room(label->width(), below->y() - label->y());
    QFont font = label->font();
    const auto fits = [&] {
        const QRect needed = QFontMetrics(font).boundingRect(
            QRect(QPoint(0, 0), room), Qt::TextWordWrap | Qt::AlignLeft, label->text());
        return needed.height() <= room.height();
    };
    while (!fits() && font.pointSizeF() > 6.0)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
}

} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(RectFromTwips(0, 0, 4845, 2670).size());
    setWindowIcon(QIcon(QStringLiteral(":/icons/about-16.png")));

    createControls();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    Form_Load();

    // Centred on the screen, not over the main window.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmAbout::createControls()
{
    lblDescription = MakeLabel(this, "lblDescription", RectFromTwips(840, 1200, 3795, 1245));
    lblDescription->setWordWrap(true);
    MakeTextBlack(lblDescription);

    lblTitle = MakeLabel(this, "lblTitle", RectFromTwips(840, 240, 3795, 480));
    QFont titleFont(QStringLiteral("MS Sans Serif"));
    titleFont.setPointSizeF(13.5);
    titleFont.setWeight(QFont::Bold);
    lblTitle->setFont(titleFont);
    MakeTextBlack(lblTitle);

    lblVersion = MakeLabel(this, "lblVersion", RectFromTwips(840, 840, 3765, 225));

    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(RectFromTwips(3480, 2160, 1215, 375));
    cmdOK->setDefault(true); // Enter closes the window

    imgDisc = new QLabel(this);
    imgDisc->setObjectName(QStringLiteral("imgDisc"));
    imgDisc->setGeometry(RectFromTwips(120, 240, 480, 480));
    imgDisc->setPixmap(QPixmap(QStringLiteral(":/icons/partwright-32.png")));
    imgDisc->setAccessibleName(tr("Partwright icon"));
    cmdOK->setFocus(Qt::OtherFocusReason);
}

void frmAbout::Form_Load()
{
    setWindowTitle(QString::fromLatin1(about::kWindowTitle));
    lblVersion->setText(FromUtf8(about::VersionText()));
    lblTitle->setText(QString::fromLatin1(about::kTitle));
    lblDescription->setText(FromUtf8(about::Description()));
    ShrinkFontToFit(lblDescription, cmdOK);
}

void frmAbout::cmdOK_Click()
{
    accept();
}

} // namespace partwright
