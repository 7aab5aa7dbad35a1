#include "calculator/aboutsc.h"

#include "calculator/framework/application.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

TAboutBox *AboutBox = nullptr;

namespace {

QFont Font(const char *family, int pixels, bool bold)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QLabel *CreateLabel(QWidget *parent, const char *name, const QString &text, QPoint at,
                    const QFont &font, const QColor &colour)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->move(at);
    label->adjustSize();
    return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About Vardelo for Windows"));
    setFont(Font("MS Sans Serif", 13, false));
    setFixedSize(329, 188);

    // Raised inner and lowered outer bevel: a groove.
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Panel1->setGeometry(8, 8, 313, 137);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(8, 16, 32, 32);
    ProgramIcon->setScaledContents(true);
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
    ProgramIcon->setPixmap(icon.pixmap(32, 32));

    Korbish = CreateLabel(Panel1, "Korbish", QStringLiteral("VARDELO for Windows"), {56, 16},
                          Font("Times New Roman", 24, true), Qt::red);
    Label1 = CreateLabel(Panel1, "Label1", QStringLiteral("BETA VERSION 1.0"), {104, 48},
                         Font("Arial", 13, true), Qt::red);
    Label2 = CreateLabel(Panel1, "Label2", QStringLiteral("January 1996"), {120, 80}, font(),
                         Qt::black);
    Label3 = CreateLabel(Panel1, "Label3",
                         QStringLiteral("Probabilities, tests and confidence intervals"),
                         {8, 116}, Font("MS Sans Serif", 11, true), Qt::black);

    OKButton = CreateOkButton(this, &TAboutBox::OKButtonClick);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(127, 154, 77, 27);
    OKButton->setFont(Font("MS Sans Serif", 11, true));
    OKButton->setFocus();
}

void TAboutBox::OKButtonClick()
{
    AboutBox->hide();
}

void TAboutBox::keyPressEvent(QKeyEvent *event)
{
    // QDialog would take Esc as Cancel; the box has no Cancel button.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
