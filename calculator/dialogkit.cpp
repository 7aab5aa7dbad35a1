#include "calculator/dialogkit.h"

#include "calculator/framework/application.h"
#include "calculator/framework/spinedit.h"
#include "calculator/numedit.h"

#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QRadioButton>

namespace {

class ActivateFilter : public QObject {
public:
    ActivateFilter(QDialog *form, std::function<void()> handler)
        : QObject(form), handler_(std::move(handler))
    {
        form->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)
            Guarded(handler_);
        return false;
    }

private:
    std::function<void()> handler_;
};

}  // namespace

void SetupDialogForm(QDialog *form, const QString &caption, int width, int height)
{
    form->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                         | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    form->setWindowTitle(caption);
    form->setFixedSize(width, height);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    form->setFont(font);
}

QFrame *BevelFrame(QWidget *parent, const QRect &place, const char *name)
{
    auto *frame = new QFrame(parent);
    if (name)
        frame->setObjectName(QLatin1String(name));
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(place);
    return frame;
}

QGroupBox *GroupBox(QWidget *parent, const QString &caption, const QRect &place)
{
    auto *box = caption.isEmpty() ? new QGroupBox(parent) : new QGroupBox(caption, parent);
    box->setGeometry(place);
    return box;
}

QLabel *FieldLabel(QWidget *parent, const QString &caption, QWidget *field, const QRect &place)
{
    auto *label = new QLabel(caption, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(place);
    // A label is its own buddy when it names no field: it takes no focus,
    // so its accelerator letter is shown and does nothing.
    label->setBuddy(field ? field : label);
    return label;
}

QLabel *FieldLabel(QWidget *parent, const QString &caption, QWidget *field, int left)
{
    const QRect row = field->geometry();
    return FieldLabel(parent, caption, field, {left, row.y(), row.x() - 4 - left, row.height()});
}

QLabel *FittedLabel(QWidget *parent, const QString &caption, QWidget *field, QPoint at)
{
    auto *label = new QLabel(caption, parent);
    label->move(at);
    label->adjustSize();
    label->setBuddy(field);
    return label;
}

TNumEdit *NumberField(QWidget *parent, const QString &text, const QRect &place, const char *name)
{
    auto *field = new TNumEdit(parent);
    if (name)
        field->setObjectName(QLatin1String(name));
    field->setText(text);
    field->setGeometry(place);
    return field;
}

TSpinEdit *SpinField(QWidget *parent, int Min, int Max, int Value, const QRect &place,
                     const char *name)
{
    auto *field = new TSpinEdit(parent);
    if (name)
        field->setObjectName(QLatin1String(name));
    field->SetMinValue(Min);
    field->SetMaxValue(Max);
    field->SetValue(Value);
    field->setGeometry(place);
    return field;
}

TNumEdit *CorrelationField(QWidget *parent, const QString &text, const QRect &place,
                           const char *name)
{
    TNumEdit *field = NumberField(parent, text, place, name);
    field->SetRangeCheck(true);
    field->SetRangeMinimum(-1);
    field->SetRangeMaximum(1);
    return field;
}

TNumEdit *ConfidenceLevelField(QWidget *parent, const QRect &place)
{
    TNumEdit *field = NumberField(parent, QStringLiteral("95"), place);
    field->SetPositiveOnly(true);
    field->SetRangeCheck(true);
    field->SetRangeMaximum(99.999);
    return field;
}

QPushButton *CreateCancelButton(QDialog *dialog, const QRect &place)
{
    QPushButton *button = CreateCancelButton(dialog);
    button->setGeometry(place);
    return button;
}

QGroupBox *VariabilityMeasureBox(QDialog *form, QRadioButton *&Measure_variance,
                                 QRadioButton *&Measure_StdDev)
{
    auto *box = new QGroupBox(QStringLiteral("Variability measure:"), form);
    box->setGeometry(8, 8, form->width() - 16, 41);
    Measure_variance = new QRadioButton(QStringLiteral("&Variance"), box);
    Measure_variance->setGeometry(16, 16, 120, 17);
    Measure_StdDev = new QRadioButton(QStringLiteral("Standard &deviation"), box);
    Measure_StdDev->setGeometry(160, 16, 160, 17);
    Measure_StdDev->setChecked(true);
    return box;
}

void SetTabOrder(std::initializer_list<QWidget *> widgets)
{
    QWidget *previous = nullptr;
    for (QWidget *widget : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void BindFormActivate(QDialog *form, std::function<void()> handler)
{
    new ActivateFilter(form, std::move(handler));
}

void ClampSpinEdit(TSpinEdit *Spin, int Low, int High)
{
    try {
        if (Spin->Value() < Low)
            Spin->SetValue(Low);
        if (Spin->Value() > High)
            Spin->SetValue(High);
    } catch (...) {
    }
}
