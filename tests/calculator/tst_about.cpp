// Help About: the about box, its texts and its OK button.
#include "support/calculatortest.h"

#include "calculator/aboutsc.h"
#include "calculator/results.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

class TestAbout : public QObject {
    Q_OBJECT

private slots:
    void showsTheProgramsNameAndVersion();
    void okAndEnterCloseEscapeDoesNot();
};

void TestAbout::showsTheProgramsNameAndVersion()
{
    CalculatorSession session;
    AppendLine("RESULT");
    QVERIFY(session.Choose<TAboutBox>("About1", [](TAboutBox *box) {
        QCOMPARE(AboutBox, box);
        QCOMPARE(box->windowTitle(), QStringLiteral("About Vardelo for Windows"));
        QCOMPARE(box->size(), QSize(329, 188));
        QVERIFY(box->isModal());
        QCOMPARE(box->Panel1->geometry(), QRect(8, 8, 313, 137));
        QCOMPARE(box->ProgramIcon->geometry(), QRect(8, 16, 32, 32));
        QVERIFY(!box->ProgramIcon->pixmap().isNull());

        const struct {
            QLabel *label;
            QString text;
            QPoint at;
            int pixels;
            bool bold;
            QColor colour;
        } labels[] = {
            {box->Korbish, "VARDELO for Windows", {56, 16}, 24, true, Qt::red},
            {box->Label1, "BETA VERSION 1.0", {104, 48}, 13, true, Qt::red},
            {box->Label2, "January 1996", {120, 80}, 13, false, Qt::black},
            {box->Label3, box->Label3->text(), {8, 116}, 11, true, Qt::black},
        };
        for (const auto &want : labels) {
            QCOMPARE(want.label->parentWidget(), box->Panel1);
            QCOMPARE(want.label->text(), want.text);
            QCOMPARE(want.label->pos(), want.at);
            QCOMPARE(want.label->font().pixelSize(), want.pixels);
            QCOMPARE(want.label->font().bold(), want.bold);
            QCOMPARE(want.label->palette().color(QPalette::WindowText), want.colour);
            // The whole text shows inside the panel.
            QVERIFY(want.label->geometry().right() < box->Panel1->width());
        }
        QVERIFY(!box->Label3->text().isEmpty());
        QCOMPARE(box->Korbish->font().family(), QStringLiteral("Times New Roman"));
        QCOMPARE(box->Label1->font().family(), QStringLiteral("Arial"));

        QCOMPARE(box->OKButton->text(), QStringLiteral("OK"));
        QCOMPARE(box->OKButton->geometry(), QRect(127, 154, 77, 27));
        QVERIFY(box->OKButton->isDefault());
        QCOMPARE(box->focusWidget(), box->OKButton);
        QTest::mouseClick(box->OKButton, Qt::LeftButton);
        QVERIFY(!box->isVisible());
    }));
    // Destroyed when it closed; the document is as it was.
    QCOMPARE(AboutBox, nullptr);
    QCOMPARE(CalculatorSession::MemoLines(), QStringList{"RESULT"});
    QVERIFY(session.Messages().isEmpty());
}

void TestAbout::okAndEnterCloseEscapeDoesNot()
{
    CalculatorSession session;
    QPointer<QDialog> shown;
    QVERIFY(session.Choose("About1", [&shown](QDialog *box) {
        shown = box;
        // The one button is OK, not Cancel: Esc leaves the box open.
        PressKey(Qt::Key_Escape);
        QVERIFY(box->isVisible());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(AboutBox->OKButton));
        PressKey(Qt::Key_Return);
        QVERIFY(!box->isVisible());
    }));
    QVERIFY(shown.isNull());
    QCOMPARE(AboutBox, nullptr);
    QVERIFY(!CalculatorSession::Modified());
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
