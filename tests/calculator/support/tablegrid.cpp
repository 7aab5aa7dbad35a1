#include "support/tablegrid.h"

#include "calculator/countgrid.h"

#include <QApplication>
#include <QTest>

#include <cmath>

QList<QStringList> TableRows(const QString &cells)
{
    QList<QStringList> rows;
    for (const QString &row : cells.split(QStringLiteral(" / ")))
        rows.append(row.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    return rows;
}

void TypeTable(TStringGrid *grid, const QString &cells)
{
    grid->setFocus(Qt::TabFocusReason);
    grid->setCurrentCell(0, 0);
    bool first = true;
    for (const QStringList &row : TableRows(cells))
        for (const QString &count : row) {
            if (!first)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            first = false;
            if (count != QLatin1String("_"))
                for (QChar digit : count)
                    QTest::keyClick(QApplication::focusWidget(), digit.toLatin1());
        }
}

QStringList EchoLines(const QString &cells)
{
    QStringList lines;
    for (const QStringList &row : TableRows(cells)) {
        QString line = QStringLiteral("  ");
        for (QString count : row) {
            if (count == QLatin1String("_"))
                count = QStringLiteral("0");
            line += count.size() < 7 ? count.rightJustified(7) : QLatin1Char(' ') + count;
        }
        lines.append(line);
    }
    return lines;
}

QString CheckField(const QString &line, int from, int width, double expected)
{
    const QString field = line.mid(from, width);
    const auto problem = [&](const char *what) {
        return QStringLiteral("%1: field \"%2\" of \"%3\", expected %4")
            .arg(QLatin1String(what), field, line)
            .arg(expected, 0, 'g', 17);
    };
    if (field.size() != width)
        return problem("line too short");
    if (std::isnan(expected))
        return field.trimmed().isEmpty() ? QString() : problem("not blank");
    if (field[0] != QLatin1Char(' '))
        return problem("no blank first");

    const QString shown = field.trimmed();
    bool ok = false;
    const double value = shown.toDouble(&ok);
    if (!ok)
        return problem("not a number");
    // One unit of the last digit shown: a field rounds its value, or cuts
    // digits to fit.
    const qsizetype e = shown.indexOf(QLatin1Char('E'));
    const QString mantissa = e < 0 ? shown : shown.left(e);
    const qsizetype point = mantissa.indexOf(QLatin1Char('.'));
    const int decimals = point < 0 ? 0 : static_cast<int>(mantissa.size() - point - 1);
    const int exponent = e < 0 ? 0 : shown.mid(e + 1).toInt();
    const double tolerance = std::pow(10.0, exponent - decimals) * (1 + 1e-9);
    if (std::fabs(value - expected) > tolerance)
        return problem("wrong value");
    return {};
}
