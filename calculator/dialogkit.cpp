#include "calculator/dialogkit.h"

#include "calculator/framework/application.h"
#include "calculator/framework/spinedit.h"
#include "calculator/numedit.h"

#include <QEvent>
#include <QFont>
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

TNumEdit *NumberField(QWidget *parent, const QString &text, const QRect &place)
{
    auto *field = new TNumEdit(parent);
    field->setText(text);
    field->setGeometry(place);
    return field;
}

TSpinEdit *SpinField(QWidget *parent, int Min, int Max, int Value, const QRect &place)
{
    auto *field = new TSpinEdit(parent);
    field->SetMinValue(Min);
    field->SetMaxValue(Max);
    field->SetValue(Value);
    field->setGeometry(place);
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
